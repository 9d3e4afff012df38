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
    else if (name == QLatin1String("port_back")) {
        set_condition(Alarm::device_lost, false, utc_ms);
        set_condition(Alarm::port_unavailable, false, utc_ms);
    } else if (name == QLatin1String("port_closed")) {
        // Closed on purpose: nothing is lost, late or awaited any more.
        set_condition(Alarm::device_lost, false, utc_ms);
        set_condition(Alarm::stale, false, utc_ms);
        set_condition(Alarm::port_unavailable, false, utc_ms);
    }
}

void AlarmMonitor::stale(bool stale, qint64 utc_ms)
{
    set_condition(Alarm::stale, stale, utc_ms);
}

void AlarmMonitor::tick(qint64 now_ms)
{
    // Stamped when the spike that made it left the minute.
    if (condition[index(Alarm::spikes)] && !spikes.over(now_ms))
        set_condition(Alarm::spikes, false, spikes.clears_ms());
    for (int i = 0; i < alarm_count; ++i)
        if (active_now[i] && !condition[i] && off_due(i) <= now_ms)
            update(Alarm(i), off_due(i));
    beep_if_due(now_ms);
}

qint64 AlarmMonitor::off_due(int i) const
{
    const Alarm alarm = Alarm(i);
    const bool held = alarm == Alarm::range || alarm == Alarm::spikes || alarm == Alarm::difference;
    return held && current.is_enabled(alarm) ? cleared_at[i] + current.clear_after_s * 1000 : 0;
}

qint64 AlarmMonitor::due_ms() const
{
    qint64 due = unheard() ? last_beep + beep_interval_ms : 0;
    const auto sooner = [&due](qint64 at) {
        if (at > 0 && (due == 0 || at < due))
            due = at;
    };
    if (condition[index(Alarm::spikes)])
        sooner(spikes.clears_ms());
    for (int i = 0; i < alarm_count; ++i)
        if (active_now[i] && !condition[i])
            sooner(off_due(i));
    return due;
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
    if (!holds)
        cleared_at[index(alarm)] = now_ms;
    update(alarm, now_ms);
}

void AlarmMonitor::update(Alarm alarm, qint64 now_ms)
{
    const int i = index(alarm);
    const bool waits = active_now[i] && !condition[i] && now_ms < off_due(i);
    const bool on = (condition[i] || waits) && current.enabled[i];
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
    // At the depth the probe measured, when it measures one.
    const double depth = probe_depth(reading.depth_m, reading.pressure_dbar);
    const double computed = sound_speed(current.equation, current.salinity, reading.temperature,
                                        std::isfinite(depth) ? depth : current.depth);
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
