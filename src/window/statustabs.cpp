#include "statustabs.h"

#include "alarmkind.h"
#include "alarmmonitor.h"
#include "alarmstrip.h"
#include "lazytab.h"
#include "mappanel.h"
#include "mqttsection.h"
#include "navigation.h"
#include "outputspanel.h"
#include "station.h"
#include "trendview.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>

StatusTabs::StatusTabs(QTextEdit *pane, Station *station, QWidget *parent)
    : QTabWidget(parent), station(station), wanted_span(TrendView::default_span_s)
{
    addTab(pane, tr("状态"));
    add_tab(
        [this] {
            trend_view = new TrendView(this->station->trend(), this->station->water());
            trend_view->set_span_seconds(wanted_span);
            trend_view->set_session(session);
            connect(trend_view, &TrendView::detach_requested, this,
                    &StatusTabs::show_detached_trend);
            return trend_view;
        },
        tr("趋势与质量"));
    add_tab(
        [this] {
            outputs_panel = new OutputsPanel(this->station->outputs(),
                                             &this->station->acquisition().quality());
            outputs_panel->set_link_status(
                [this] { return mqtt_link_text(this->station->publisher()); });
            return outputs_panel;
        },
        tr("输出"));
    add_tab(
        [this] {
            const TrackModel *track = &this->station->navigation()->track();
            return new MapPanel(
                track, [track] { return track->points(); }, QStringLiteral("航迹"));
        },
        tr("地图"));
    alarm_strip = new AlarmStrip;
    last_exchange = new QPushButton(tr("上次配置回复"));
    last_exchange->setObjectName("last_exchange");
    last_exchange->setStyleSheet("QPushButton { min-width: 0; padding: 2px 6px; }");
    last_exchange->setVisible(false);
    connect(last_exchange, &QPushButton::clicked, this, [this] {
        auto *box = new QMessageBox(QMessageBox::NoIcon, last_exchange->text(), last_replies,
                                    QMessageBox::Close, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
    });
    auto *corner = new QWidget;
    auto *row = new QHBoxLayout(corner);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(last_exchange);
    row->addWidget(alarm_strip);
    setCornerWidget(corner, Qt::TopRightCorner);
    connect(alarm_strip, &AlarmStrip::acknowledge, this, [this] {
        this->station->alarms()->acknowledge();
        show_alarms();
    });
}

StatusTabs::~StatusTabs()
{
    delete trend_window;
}

void StatusTabs::add_tab(std::function<QWidget *()> build, const QString &title)
{
    addTab(new LazyTab(std::move(build)), title);
}

int StatusTabs::trend_span() const
{
    return trend_view ? trend_view->span_seconds() : wanted_span;
}

void StatusTabs::set_trend_span(int seconds)
{
    wanted_span = seconds;
    if (trend_view)
        trend_view->set_span_seconds(seconds);
}

QByteArray StatusTabs::trend_geometry() const
{
    return trend_window ? trend_window->saveGeometry() : wanted_geometry;
}

void StatusTabs::set_session(const SessionInfo &info)
{
    session = info;
    for (TrendView *view : {trend_view, trend_window})
        if (view)
            view->set_session(info);
}

void StatusTabs::show_limits()
{
    if (outputs_panel)
        outputs_panel->show_limits();
}

void StatusTabs::frame_tick()
{
    for (TrendView *view : {trend_view, trend_window})
        if (view)
            view->frame_tick();
}

void StatusTabs::show_alarms()
{
    QStringList words;
    for (const QString &active : station->alarms()->active())
        words << alarm_description(active);
    alarm_strip->show_alarms(words, !station->alarms()->unheard());
    setStyleSheet(words.isEmpty() ? QString() : QStringLiteral("QTabBar::tab { color: #d00000; }"));
}

void StatusTabs::show_last_exchange(const QString &replies)
{
    last_replies = replies.trimmed().isEmpty() ? tr("（仪器没有回复）") : replies;
    last_exchange->setVisible(true);
}

void StatusTabs::close_detached()
{
    if (trend_window)
        trend_window->close();
}

// A second view on the same readings, resizable, closed with the window.
void StatusTabs::show_detached_trend()
{
    if (!trend_window) {
        trend_window = new TrendView(station->trend(), station->water());
        trend_window->set_detachable(false);
        trend_window->setWindowTitle(window()->windowTitle() + " - " + tabText(1));
        trend_window->setWindowIcon(window()->windowIcon());
        trend_window->resize(1000, 600);
        // Where the operator last put it, if remembered.
        trend_window->restoreGeometry(wanted_geometry);
        trend_window->set_session(session);
    }
    // Opened at the span the docked view shows; once open, it keeps its own.
    if (!trend_window->isVisible())
        trend_window->set_span_seconds(trend_span());
    trend_window->show();
    trend_window->raise();
    trend_window->activateWindow();
}
