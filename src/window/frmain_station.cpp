#include "alarmkind.h"
#include "alarmmonitor.h"
#include "frmain.h"
#include "inputsection.h"
#include "statustabs.h"

#include <QApplication>
#include <QComboBox>

// Alarms beep until acknowledged; the station has logged and published
// each change before the window hears of it.
void frmain::build_station()
{
    connect(core, &Station::alarm_changed, this, &frmain::show_alarm);
    connect(core->alarms(), &AlarmMonitor::beep, this, [] { QApplication::beep(); });
    connect(core, &Station::format_recognised, this,
            [this](const QString &name) { pane_note(recognised_format_text(name)); });
    connect(core, &Station::input_changed, this, &frmain::tell_trend_session);
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
    status_tabs->show_alarms();
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

// What a live report says of the session beyond the readings.
void frmain::tell_trend_session()
{
    SessionInfo info;
    Acquisition &pipeline = core->acquisition();
    if (pipeline.recording()) {
        info.recording = pipeline.recorder().file_name();
        info.log = pipeline.log().file_name();
    }
    info.port = port_combobox->currentText();
    info.line_settings
        = QStringList{baud_combobox->currentText(), databits_combobox->currentText(),
                      parity_combobox->currentText(), stopbits_combobox->currentText()}
              .join(' ');
    info.configuration = core->sent_configuration();
    info.input_format = QString::fromLatin1(core->format() ? format_name(*core->format())
                                                           : core->input().format.name());
    status_tabs->set_session(info);
}
