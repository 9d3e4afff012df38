#ifndef TRENDFIGURES_H
#define TRENDFIGURES_H

#include "figuretext.h"

#include <QVector>
#include <QWidget>

class QGridLayout;
class QLabel;
class TrendModel;
struct SpanFigures;

// Names the plot's legend shares with the figures.
extern const char speed_caption[];
extern const char average_caption[];
extern const char temperature_caption[];
extern const char flagged_caption[];

// A compact table of the figures of one or more spans, a column each (the
// span shown, the whole log): readings, rate, speed and temperature of the
// good readings, the flagged ones, malformed lines and gaps. The live view
// adds the state of the stream, and beside the malformed lines those with a
// wrong checksum and those before the input format was recognised. Each
// figure keeps room for the widest it may show.
class TrendFigures : public QWidget
{
    Q_OBJECT

public:
    TrendFigures(const QStringList &headings, bool live, QWidget *parent = nullptr);

    void show_figures(int column, const SpanFigures &figures);
    void show_status(const TrendModel &model);
    // The text shown in a column for a Row.
    QString figure(int column, int row) const;
    // The stream's state as shown live; empty in a review.
    QString stream_text() const;

    enum Row {
        readings,
        rate,
        minimum,
        maximum,
        mean,
        deviation,
        temperature,
        flags,
        malformed,
        gaps,
        rows
    };

private:
    QLabel *add_row(int index, const QString &caption, int column, const QStringList &widest);

    QGridLayout *grid;
    QVector<QVector<QLabel *>> columns; // [column][Row]
    QLabel *state = nullptr, *last_valid = nullptr;
    int first_row = 0; // below the headings
    int per_block = 0; // rows of figures before the next pair of columns
};

#endif
