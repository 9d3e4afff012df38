#ifndef ALARMSETTINGS_H
#define ALARMSETTINGS_H

#include "alarmkind.h"
#include "soundspeed.h"

#include <QStringList>
#include <QVariantMap>

#include <array>

// Which alarms are on and their limits.
struct AlarmSettings
{
    AlarmSettings();

    std::array<bool, alarm_count> enabled;
    int spike_limit = 10; // more spikes than this in a minute raise the alarm
    double difference_limit = 2.0; // m/s between measured and computed speed
    // The alarms raised by readings (range, spikes, difference) go off only
    // once their condition has been clear this long, so a few wild readings
    // among good ones do not turn them on and off with every line.
    int clear_after_s = 10;
    // The PC clock may be this far from GNSS time (either way) before the
    // clock_offset alarm goes on; the log's times are the PC's.
    double clock_offset_limit_s = 1.0;
    SoundEquation equation = SoundEquation::unesco;
    double salinity = 35.0; // PSU
    double depth = 0.0; // m

    bool is_enabled(Alarm alarm) const { return enabled[static_cast<int>(alarm)]; }
    void set_enabled(Alarm alarm, bool on) { enabled[static_cast<int>(alarm)] = on; }

    QVariantMap to_map() const;
    // Fields missing from the map keep their defaults; so do those of the
    // wrong type or out of range, whose keys go to *problems.
    static AlarmSettings from_map(const QVariantMap &map, QStringList *problems);
};

#endif
