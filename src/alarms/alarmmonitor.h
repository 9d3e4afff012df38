#ifndef ALARMMONITOR_H
#define ALARMMONITOR_H

#include "alarmkind.h"
#include "alarmsettings.h"
#include "readingsink.h"
#include "spikewindow.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <limits>

// Watches the readings and the program's state for the alarm conditions and
// says when each alarm goes on or off. An alarm is active while its condition
// holds and it is enabled:
//   stale            from stale(true) until stale(false) or port_closed;
//   device_lost      from the event port_lost until port_back or port_closed;
//   range            from a reading flagged out of range until the next
//                    reading within the limits (ok or spike);
//   spikes           while more than spike_limit readings flagged as spikes
//                    came within the last minute (tick() lets it clear when
//                    no readings come);
//   difference       from a reading flagged ok whose speed is further than
//                    difference_limit from the speed computed for its
//                    temperature (and its depth or pressure, when the probe
//                    measures one) until one that is not; a reading without a
//                    temperature, or where the equation gives none, clears it,
//                    as nothing can be said then; range and spike readings
//                    leave it as it is (they have alarms of their own);
//   recording_failed, port_unavailable, broker_unreachable, clock_offset
//                    from set_state(alarm, true) until false; port_unavailable
//                    also until port_back or port_closed.
// range, spikes and difference go off only once their condition has been
// clear for the settings' clear_after_s; closing the port or turning an
// alarm off ends it at once.
// Until acknowledged, active alarms beep: at once and every 2 s, never more
// often however many alarms come and go.
class AlarmMonitor : public QObject, public ReadingSink
{
    Q_OBJECT

public:
    static const qint64 beep_interval_ms = 2000;

    explicit AlarmMonitor(QObject *parent = nullptr);

    // Alarms turned off go off now; those turned on whose condition holds go on.
    void set_settings(const AlarmSettings &settings, qint64 now_ms);
    const AlarmSettings &settings() const { return current; }

    int take(const Measurement &measurement) override;
    using QObject::event; // Qt's own, not hidden by the sink's
    void event(const QString &name, qint64 utc_ms) override;
    void stale(bool stale, qint64 utc_ms) override;
    // For the conditions the station decides.
    void set_state(Alarm alarm, bool holds, qint64 utc_ms) { set_condition(alarm, holds, utc_ms); }
    // Clears the spike alarm as the minute moves on and beeps when due.
    void tick(qint64 now_ms);
    // When tick() has something to do next; 0 when nothing is due.
    qint64 due_ms() const;
    // Silences the alarms active now; a new alarm beeps again.
    void acknowledge();

    bool is_active(Alarm alarm) const { return active_now[index(alarm)]; }
    // Some active alarm is not acknowledged yet.
    bool unheard() const;
    // Names of the active alarms, in the order of Alarm.
    QStringList active() const;

signals:
    void changed(const QString &name, bool on, qint64 utc_ms);
    void beep();

private:
    static int index(Alarm alarm) { return static_cast<int>(alarm); }
    void set_condition(Alarm alarm, bool holds, qint64 now_ms);
    void update(Alarm alarm, qint64 now_ms);
    // When a held alarm goes off; 0 when it does not wait to.
    qint64 off_due(int i) const;
    bool differs(const Reading &reading) const;
    void beep_if_due(qint64 now_ms);

    AlarmSettings current;
    SpikeWindow spikes;
    std::array<bool, alarm_count> condition{};
    std::array<bool, alarm_count> active_now{};
    std::array<bool, alarm_count> acknowledged{};
    std::array<qint64, alarm_count> cleared_at{}; // when the condition last went away
    qint64 last_beep = std::numeric_limits<qint64>::min() / 2;
};

#endif
