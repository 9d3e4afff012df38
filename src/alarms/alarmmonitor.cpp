#include "alarmmonitor.h"

#include <cmath>

AlarmMonitor::AlarmMonitor(QObject *parent) : QObject(parent), spikes(current.spike_limit) { }

void AlarmMonitor::set_settings(const AlarmSettings &settings, qint64 now_ms)
{
    if (settings.spike_limit != spikes.limit())
        spikes.set_limit(settings.spike_limit);
    // Judged again from the next reading, against the new water and limit;
    // the same settings applied again leave an acknowledged alarm as it is.
    const bool water_changed = settings.equation != current.equation
        || settings.salinity != current.salinity || settings.depth != current.depth
        || settings.difference_limit != current.difference_limit;
    if (water_changed || !settings.is_enabled(Alarm::difference))
        condition[index(Alarm::difference)] = false;
    current = settings;
    condition[index(Alarm::spikes)] = spikes.over(now_ms);
    for (int i = 0; i < alarm_count; ++i)
        update(static_cast<Alarm>(i), now_ms);
}

int AlarmMonitor::take(const Measurement &measurement)
{
    const qint64 now = measurement.utc_ms;
    set_condition(Alarm::range, measurement.quality == Quality::range, now);
    if (measurement.quality == Quality::spike)
        spikes.add(now);
    set_condition(Alarm::spikes, spikes.over(now), now);
    if (measurement.quality == Quality::ok)
        set_condition(Alarm::difference, differs(measurement.reading), now);
    return 0;
}

void AlarmMonitor::event(const QString &name, qint64 utc_ms)
{
    if (name == QLatin1String("port_lost"))
        set_condition(Alarm::device_lost, true, utc_ms);
    else if (name == QLatin1String("port_back"))
        set_condition(Alarm::device_lost, false, utc_ms);
    else if (name == QLatin1String("port_closed")) {
        // Closed on purpose: nothing is lost or late any more.
        set_condition(Alarm::device_lost, false, utc_ms);
        set_condition(Alarm::stale, false, utc_ms);
    }
}

void AlarmMonitor::stale(bool stale, qint64 utc_ms)
{
    set_condition(Alarm::stale, stale, utc_ms);
}

void AlarmMonitor::set_recording_failed(bool failed, qint64 utc_ms)
{
    set_condition(Alarm::recording_failed, failed, utc_ms);
}

void AlarmMonitor::tick(qint64 now_ms)
{
    set_condition(Alarm::spikes, spikes.over(now_ms), now_ms);
    beep_if_due(now_ms);
}

qint64 AlarmMonitor::due_ms() const
{
    const qint64 beep = unheard() ? last_beep + beep_interval_ms : 0;
    const qint64 spike = condition[index(Alarm::spikes)] ? spikes.clears_ms() : 0;
    if (beep == 0 || spike == 0)
        return qMax(beep, spike);
    return qMin(beep, spike);
}

void AlarmMonitor::acknowledge()
{
    acknowledged = active_now;
}

QStringList AlarmMonitor::active() const
{
    QStringList names;
    for (int i = 0; i < alarm_count; ++i) {
        if (active_now[i])
            names << QLatin1String(alarm_name(static_cast<Alarm>(i)));
    }
    return names;
}

void AlarmMonitor::set_condition(Alarm alarm, bool holds, qint64 now_ms)
{
    if (condition[index(alarm)] == holds)
        return;
    condition[index(alarm)] = holds;
    update(alarm, now_ms);
}

void AlarmMonitor::update(Alarm alarm, qint64 now_ms)
{
    const int i = index(alarm);
    const bool on = condition[i] && current.enabled[i];
    if (on == active_now[i])
        return;
    active_now[i] = on;
    acknowledged[i] = false;
    emit changed(QLatin1String(alarm_name(alarm)), on, now_ms);
    if (on)
        beep_if_due(now_ms);
}

bool AlarmMonitor::differs(const Reading &reading) const
{
    if (!current.is_enabled(Alarm::difference) || !reading.has_temperature)
        return false;
    const double computed
        = sound_speed(current.equation, current.salinity, reading.temperature, current.depth);
    return std::isfinite(computed)
        && std::fabs(reading.speed - computed) > current.difference_limit;
}

bool AlarmMonitor::unheard() const
{
    for (int i = 0; i < alarm_count; ++i)
        if (active_now[i] && !acknowledged[i])
            return true;
    return false;
}

void AlarmMonitor::beep_if_due(qint64 now_ms)
{
    if (!unheard() || now_ms - last_beep < beep_interval_ms)
        return;
    last_beep = now_ms;
    emit beep();
}
