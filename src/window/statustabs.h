#ifndef STATUSTABS_H
#define STATUSTABS_H

#include "sessioninfo.h"

#include <QTabWidget>

#include <functional>

class AlarmStrip;
class OutputsPanel;
class QPushButton;
class QTextEdit;
class Station;
class TrendView;

// The status area's tabs: the pane first and current at start, the trend
// and quality view (also in a window of its own), the map of the positioned
// readings, the outputs, and whatever is added; each but the pane built when first shown. The
// active alarms show beside the tabs, whose captions then turn red. What is set before a tab exists
// (the trend span, the detached window's place) is kept for it.
class StatusTabs : public QTabWidget
{
    Q_OBJECT

public:
    StatusTabs(QTextEdit *pane, Station *station, QWidget *parent = nullptr);
    ~StatusTabs() override;

    void add_tab(std::function<QWidget *()> build, const QString &title);

    int trend_span() const;
    void set_trend_span(int seconds);
    // The detached trend window's size and place, as saveGeometry() gives
    // them; applied when it is first opened.
    QByteArray trend_geometry() const;
    void set_trend_geometry(const QByteArray &geometry) { wanted_geometry = geometry; }
    void set_session(const SessionInfo &info);
    // The quality limits changed: the outputs tab shows them.
    void show_limits();
    // Once per screen frame.
    void frame_tick();
    void show_alarms();
    // What the instrument said during the last configuration exchange,
    // readable beside the tabs until the next one.
    void show_last_exchange(const QString &replies);
    void close_detached();

private:
    void show_detached_trend();

    Station *station;
    AlarmStrip *alarm_strip;
    QPushButton *last_exchange;
    QString last_replies;
    SessionInfo session;
    QByteArray wanted_geometry;
    int wanted_span;
    TrendView *trend_view = nullptr;
    TrendView *trend_window = nullptr;
    OutputsPanel *outputs_panel = nullptr;
};

#endif
