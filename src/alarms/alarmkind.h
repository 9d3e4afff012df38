#ifndef ALARMKIND_H
#define ALARMKIND_H

#include <QString>

#include <optional>

// The conditions an alarm is raised for.
enum class Alarm : quint8 {
    stale, // no valid reading for the stale deadline
    device_lost, // the serial port went away
    range, // a reading outside the quality limits
    spikes, // too many readings flagged as spikes in a minute
    difference, // measured speed too far from the one computed for the water
    recording_failed, // the recording could not be written
    port_unavailable, // the port to open at start could not be opened yet
    broker_unreachable, // the MQTT broker has not been reached for a minute
    clock_offset, // the PC clock is further from GNSS time than the limit
};
constexpr int alarm_count = 9;

// The name in settings, in the changed() signal and in the log's events.
const char *alarm_name(Alarm alarm);
std::optional<Alarm> alarm_from_name(const QString &name);
// What the status strip shows while it is active; empty for an unknown name.
QString alarm_description(const QString &name);
// Whether it is on when nothing says otherwise.
bool alarm_enabled_by_default(Alarm alarm);
// The log's event for it: "alarm_on:NAME" or "alarm_off:NAME".
QString alarm_event_text(const QString &name, bool on);

#endif
