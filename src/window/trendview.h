#ifndef TRENDVIEW_H
#define TRENDVIEW_H

#include "spanstats.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class CrossCheckPanel;
class QComboBox;
class QPushButton;
class QScrollArea;
class TrendFigures;
class TrendModel;
class TrendPlot;
class WaterSettings;

// The trend and quality view: the plot of the recent readings with the span
// and pause controls, exports of what it shows, and beside it the figures and
// the cross-check. Several views may share one model; each keeps its own span
// and pause. The window feeds the model and calls frame_tick() on its frame
// timer; the view draws at most ten times a second, and only while it is
// visible and something changed.
class TrendView : public QWidget
{
    Q_OBJECT

public:
    TrendView(TrendModel *model, WaterSettings *water, QWidget *parent = nullptr);

    void frame_tick();
    // Draws now, whatever the time since the last drawing.
    void refresh();

    TrendPlot *plot() const { return trend_plot; }
    // Statistics of the readings in the span shown.
    const SpanStats &shown_stats() const { return stats; }

    void set_span_seconds(int seconds);
    int span_seconds() const;
    void set_paused(bool paused);
    bool paused() const;
    // Hides the button that asks for a window of its own, e.g. once in one.
    void set_detachable(bool detachable);

    // The readings of the span shown, as a picture or as CSV rows.
    bool export_png(const QString &path);
    bool export_csv(const QString &path) const;

signals:
    void detach_requested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *build_controls();
    QScrollArea *build_column();
    void request_refresh();
    bool follow_newest();
    void export_with_dialog(QPushButton *button, const char *filter, bool png);

    TrendModel *model;
    WaterSettings *water;
    TrendPlot *trend_plot;
    TrendFigures *figures;
    CrossCheckPanel *cross_check;
    QComboBox *span_box;
    QPushButton *pause_button;
    QPushButton *detach_button;

    SpanStats stats;
    QTimer deferred; // draws what a too-early tick left undrawn
    QElapsedTimer since_drawn; // the ten-a-second limit
    qint64 drawn_revision = -1;
    bool replot_wanted = true;
};

#endif
