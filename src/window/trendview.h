#ifndef TRENDVIEW_H
#define TRENDVIEW_H

#include "livefigures.h"
#include "sessioninfo.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class CrossCheckPanel;
class QComboBox;
class QLabel;
class QPushButton;
class TrendFigures;
class TrendModel;
class TrendPlot;
class WaterSettings;

// The trend and quality view: the plot of the recent readings with the span
// and pause controls, exports of what it shows, and beside it the figures and
// the cross-check as two pages. It also opens a recorded log in a review
// window and makes the session report. Several views may share one model;
// each keeps its own span and pause. The window feeds the model and calls
// frame_tick() on its frame timer; the view draws at most ten times a second,
// and only while it is visible and something changed.
class TrendView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int default_span_s = 300;

    TrendView(TrendModel *model, WaterSettings *water, QWidget *parent = nullptr);

    void frame_tick();
    // Draws now, whatever the time since the last drawing.
    void refresh();

    TrendPlot *plot() const { return trend_plot; }
    TrendFigures *figures() const { return table; }
    // Figures of the good readings in the span shown, the flagged counted.
    const SpanFigures &shown_figures() const { return shown; }

    void set_span_seconds(int seconds);
    int span_seconds() const;
    // The readings held start later than the span shown begins.
    bool span_short() const;
    void set_paused(bool paused);
    bool paused() const;
    // Hides the button that asks for a window of its own, e.g. once in one.
    void set_detachable(bool detachable);
    // A pause longer than this breaks the lines and counts as a gap.
    void set_stale_ms(qint64 stale_ms);
    // The port, its settings, the configuration and the files being written;
    // the report is made of the measurement log when info.log is set.
    void set_session(const SessionInfo &info) { session = info; }

    // The readings of the span shown, as a picture or as CSV rows.
    bool export_png(const QString &path);
    bool export_csv(const QString &path) const;
    // The session report of the measurement log being written, or of the
    // readings held when there is none.
    bool write_report(const QString &path, QString *error) const;

signals:
    void detach_requested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *build_controls();
    QWidget *build_pages();
    void request_refresh();
    bool follow_newest();
    void show_span_note();
    // What the save dialog proposes for an export of the kind suffix.
    QString proposed_path(const QString &suffix) const;
    QString ask_path(QPushButton *button, const QString &suffix);
    void export_with_dialog(QPushButton *button, bool png);
    void report_with_dialog(QPushButton *button);

    TrendModel *model;
    WaterSettings *water;
    TrendPlot *trend_plot;
    TrendFigures *table;
    CrossCheckPanel *cross_check;
    QComboBox *span_box;
    QLabel *span_note;
    QPushButton *pause_button;
    QPushButton *detach_button;

    LiveFigures live;
    SpanFigures shown;
    SessionInfo session;
    QTimer deferred; // draws what a too-early tick left undrawn
    QElapsedTimer since_drawn; // the ten-a-second limit
    qint64 drawn_revision = -1;
    bool replot_wanted = true;
};

#endif
