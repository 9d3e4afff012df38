#include "alarmkind.h"
#include "alarmmonitor.h"
#include "frmain.h"
#include "inputsection.h"
#include "recordingflow.h"
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
    connect(core, &Station::input_changed, this, [this] { recording->show_state(); });
    // The published status names the port chosen, also before it opens.
    for (QComboBox *choice :
         {port_combobox, baud_combobox, databits_combobox, parity_combobox, stopbits_combobox})
        connect(choice, &QComboBox::currentTextChanged, this,
                [this] { core->choose_port(chosen_port_settings()); });
}

// Said once in the pane with the local time; the strip follows.
void frmain::show_alarm(const QString &name, bool on)
{
    pane_note((on ? tr("报警：%1") : tr("报警解除：%1")).arg(alarm_description(name)));
    status_tabs->show_alarms();
}
