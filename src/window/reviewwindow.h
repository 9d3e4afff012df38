#ifndef REVIEWWINDOW_H
#define REVIEWWINDOW_H

#include "reviewfigures.h"
#include "reviewlog.h"
#include "reviewoptions.h"
#include "trackmodel.h"
#include "watersettings.h"

#include <QWidget>

class CrossCheckPanel;
class MapPanel;
class QLabel;
class ReviewPlot;
class TrendFigures;

// A measurement log or raw recording read back, in a window of its own while
// the live session goes on: the plot with the log's events, the figures of
// the span shown and of the whole log, the cross-check for the water entered
// here, a PNG of the plot and the session report. A log with positions also
// has a map of the span shown, whose track can be exported.
class ReviewWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ReviewWindow(ReviewLog log, const ReviewOptions &options = ReviewOptions(),
                          QWidget *parent = nullptr);

    // Reads path and shows it, with what could not be read in one message;
    // null (after saying why) when it is neither log nor recording.
    static ReviewWindow *open(const QString &path, QWidget *parent);

    ReviewPlot *plot() const { return review_plot; }
    TrendFigures *figures() const { return table; }
    const ReviewLog &log() const { return review_log; }
    // Null for a log without positions.
    MapPanel *map() const { return map_panel; }
    bool export_png(const QString &path);
    bool write_report(const QString &path, QString *error) const;

private:
    QWidget *build_controls();
    QWidget *build_column();
    QWidget *build_views();
    void show_map_span();
    void show_span();
    QString title() const;

    ReviewLog review_log;
    ReviewFigures review_figures;
    WaterSettings water;
    ReviewPlot *review_plot;
    TrendFigures *table = nullptr;
    CrossCheckPanel *cross_check = nullptr;
    TrackModel span_track;
    MapPanel *map_panel = nullptr;
};

#endif
