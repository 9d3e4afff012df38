#include "alarmkind.h"
#include "alarmmonitor.h"
#include "alarmstrip.h"
#include "frmain.h"
#include "lazytab.h"
#include "sessioninfo.h"
#include "trendview.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

// An active alarm shows beside the status tabs and beeps until
// acknowledged; the station has already logged and published it.
void frmain::build_station()
{
    alarm_strip = new AlarmStrip;
    status_tabs->setCornerWidget(alarm_strip, Qt::TopRightCorner);
    connect(core, &Station::alarm_changed, this, &frmain::show_alarm);
    connect(core->alarms(), &AlarmMonitor::beep, this, [] { QApplication::beep(); });
    connect(alarm_strip, &AlarmStrip::acknowledge, this, [this] {
        core->alarms()->acknowledge();
        show_alarms();
    });
    // The published status names the port chosen, also before it opens.
    for (QComboBox *choice :
         {port_combobox, baud_combobox, databits_combobox, parity_combobox, stopbits_combobox})
        connect(choice, &QComboBox::currentTextChanged, this,
                [this] { core->choose_port(chosen_port_settings()); });
}

// Said once in the pane with the local time; the strip follows.
void frmain::show_alarm(const QString &name, bool on)
{
    pane_note((on ? "报警：" : "报警解除：") + alarm_description(name));
    show_alarms();
}

void frmain::show_alarms()
{
    QStringList words;
    for (const QString &active : core->alarms()->active())
        words << alarm_description(active);
    alarm_strip->show_alarms(words, !core->alarms()->unheard());
    status_tabs->setStyleSheet(
        words.isEmpty() ? QString() : QStringLiteral("QTabBar::tab { color: #d00000; }"));
}

QString frmain::record_into(const QString &folder, QString *problem)
{
    QString log_error;
    const QString path = core->record_into(folder, &log_error, problem);
    if (path.isEmpty()) {
        pane_note(*problem);
        return path;
    }
    data_file_name = path;
    pane_note("开始保存数据：" + path);
    recording_started(log_error, true);
    show_recording_state();
    return path;
}

void frmain::add_status_tab(std::function<QWidget *()> build, const QString &title)
{
    status_tabs->addTab(new LazyTab(std::move(build)), title);
}

// What a live report says of the session beyond the readings.
void frmain::tell_trend_session()
{
    SessionInfo info;
    const Acquisition &pipeline = core->acquisition();
    if (pipeline.recording()) {
        info.recording = core->acquisition().recorder().file_name();
        info.log = pipeline.log().file_name();
    }
    info.port = port_combobox->currentText();
    info.line_settings
        = QStringList{baud_combobox->currentText(), databits_combobox->currentText(),
                      parity_combobox->currentText(), stopbits_combobox->currentText()}
              .join(' ');
    info.configuration = core->sent_configuration();
    for (TrendView *view : {trend_view, trend_window})
        if (view)
            view->set_session(info);
}

QByteArray frmain::trend_geometry() const
{
    return trend_window ? trend_window->saveGeometry() : trend_window_geometry;
}
