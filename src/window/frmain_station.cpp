#include "alarmkind.h"
#include "alarmmonitor.h"
#include "alarmstrip.h"
#include "frmain.h"
#include "lazytab.h"
#include "mqttpublisher.h"
#include "sessioninfo.h"
#include "trendview.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>

#include <cstdio>

// Alarms watch every line and event from the pipeline; an active one shows
// beside the status tabs, beeps until acknowledged and goes in the log.
void frmain::build_station()
{
    alarms = new AlarmMonitor(this);
    acquisition.add_sink(alarms);
    alarm_strip = new AlarmStrip;
    status_tabs->setCornerWidget(alarm_strip, Qt::TopRightCorner);
    connect(alarms, &AlarmMonitor::changed, this, &frmain::alarm_changed);
    connect(alarms, &AlarmMonitor::beep, this, [] { QApplication::beep(); });
    connect(alarm_strip, &AlarmStrip::acknowledge, this, [this] {
        alarms->acknowledge();
        alarm_changed(QString(), false, 0);
    });
    alarm_timer.setInterval(500);
    connect(&alarm_timer, &QTimer::timeout, this,
            [this] { alarms->tick(QDateTime::currentMSecsSinceEpoch()); });
    alarm_timer.start();
}

// Said once: in the log and to the broker as an event, in the pane with the
// local time; the strip and the retained alarm list follow. An empty name
// only redraws the strip.
void frmain::alarm_changed(const QString &name, bool on, qint64 utc_ms)
{
    if (!name.isEmpty()) {
        acquisition.note(alarm_event_text(name, on), utc_ms);
        pane_note((on ? "报警：" : "报警解除：") + alarm_description(name));
    }
    QStringList words;
    for (const QString &active : alarms->active())
        words << alarm_description(active);
    alarm_strip->show_alarms(words, !alarms->unheard());
    status_tabs->setStyleSheet(
        words.isEmpty() ? QString() : QStringLiteral("QTabBar::tab { color: #d00000; }"));
    if (mqtt)
        mqtt->set_alarms(alarms->active());
}

void frmain::publish_to(const MqttConfig &config)
{
    if (mqtt) {
        acquisition.remove_sink(mqtt);
        delete mqtt;
        mqtt = nullptr;
    }
    if (config.host.isEmpty())
        return;
    mqtt = new MqttPublisher(config, this);
    acquisition.add_sink(mqtt);
    mqtt->set_alarms(alarms->active());
    publish_status();
}

// The retained status says which port and settings the station reads with.
void frmain::publish_status()
{
    if (!mqtt)
        return;
    const PortSettings port = chosen_port_settings();
    mqtt->set_status({{"port", port.name},
                      {"port_open", session->active()},
                      {"baud", port.baud},
                      {"average_points", int(avg_points)},
                      {"version", QCoreApplication::applicationVersion()}});
}

bool frmain::record_into(const QString &folder)
{
    const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd_hhmmss");
    QString path = QDir(folder).filePath("sv_" + stamp + ".txt");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("sv_%1_%2.txt").arg(stamp).arg(n));
    QString log_error;
    if (!QFileInfo(folder).isDir()
        || !acquisition.start_recording(path, QDateTime::currentMSecsSinceEpoch(), &log_error)) {
        const QString problem = "无法在 " + folder + " 中开始保存数据，程序照常运行，不保存";
        std::fprintf(stderr, "svterminal: cannot record into %s\n", qPrintable(folder));
        pane_note(problem);
        return false;
    }
    data_file_name = path;
    pane_note("开始保存数据：" + path);
    recording_started(log_error, true);
    show_recording_state();
    return true;
}

void frmain::add_status_tab(std::function<QWidget *()> build, const QString &title)
{
    status_tabs->addTab(new LazyTab(std::move(build)), title);
}

// What a live report says of the session beyond the readings.
void frmain::tell_trend_session()
{
    SessionInfo info;
    if (acquisition.recording()) {
        info.recording = acquisition.recorder().file_name();
        info.log = acquisition.log().file_name();
    }
    info.port = port_combobox->currentText();
    info.line_settings
        = QStringList{baud_combobox->currentText(), databits_combobox->currentText(),
                      parity_combobox->currentText(), stopbits_combobox->currentText()}
              .join(' ');
    info.configuration = sent_configuration;
    for (TrendView *view : {trend_view, trend_window})
        if (view)
            view->set_session(info);
}

QByteArray frmain::trend_geometry() const
{
    return trend_window ? trend_window->saveGeometry() : trend_window_geometry;
}
