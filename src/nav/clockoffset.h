#ifndef CLOCKOFFSET_H
#define CLOCKOFFSET_H

#include <QVector>

#include <optional>

// How far the PC clock is from GNSS time: PC minus GNSS, positive when the
// PC is ahead, measured when a ZDA or a dated RMC arrives. Serial latency
// only ever adds to a measurement, and one sentence may be held up, so the
// offset in force is the median of the measurements of the last few seconds
// rather than the newest. It lapses when no measurement came for a minute:
// an offset from long ago says nothing about the clock now.
class ClockOffset
{
public:
    struct Sample
    {
        qint64 arrival_ms; // PC clock
        qint64 offset_ms;
    };
    static constexpr qint64 median_span_ms = 10000;
    static constexpr qint64 default_lapse_ms = 60000;
    static constexpr qint64 history_span_ms = 3600000; // the trend: an hour
    static constexpr int history_capacity = 36000; // an hour at 10 a second
    static constexpr double default_limit_s = 1.0;

    // A sentence dated gnss_utc_ms arrived when the PC clock read arrival_ms.
    void measure(qint64 arrival_ms, qint64 gnss_utc_ms);
    void clear()
    {
        samples.clear();
        median = 0;
    }

    // The offset in force at now_ms, if any.
    std::optional<qint64> in_force_ms(qint64 now_ms) const;
    // True if an offset is in force at now_ms and its size is beyond limit_s.
    bool exceeds(double limit_s, qint64 now_ms) const;

    // The measurements of the last hour or so, oldest first, bounded.
    const QVector<Sample> &history() const { return samples; }

    void set_lapse_ms(qint64 ms) { lapse_ms = ms; }
    // The first moment no offset is in force any more, if none comes
    // meanwhile; 0 without measurements.
    qint64 lapses_at_ms() const
    {
        return samples.isEmpty() ? 0 : samples.last().arrival_ms + lapse_ms + 1;
    }

private:
    QVector<Sample> samples;
    qint64 lapse_ms = default_lapse_ms;
    // Of the measurements up to the newest: every reading asks for it.
    qint64 median = 0;
};

#endif
