#ifndef TRENDFIGURES_H
#define TRENDFIGURES_H

#include <QWidget>

class QGridLayout;
class QLabel;
class TrendModel;
struct RunningMoments;
struct SpanStats;

// Names the plot's legend shares with the figures.
extern const char speed_caption[];
extern const char average_caption[];
extern const char temperature_caption[];
extern const char flagged_caption[];

// A figure with its decimals, or a dash when there is none.
QString figure_text(double value, int decimals = 3);

// The column of figures beside the trend plot: statistics of the readings in
// the span shown, and the state of the stream as a whole.
class TrendFigures : public QWidget
{
    Q_OBJECT

public:
    explicit TrendFigures(QWidget *parent = nullptr);

    void show_stats(const SpanStats &stats);
    void show_status(const TrendModel &model);

private:
    struct Column
    {
        QLabel *count, *min, *max, *mean, *deviation;
    };

    QLabel *add_row(const char *caption);
    Column add_column(int column);
    void show_moments(const Column &column, const RunningMoments &moments);

    QGridLayout *grid;
    Column speed, temperature;
    QLabel *rate, *range, *spike, *malformed, *state, *last_valid;
};

#endif
