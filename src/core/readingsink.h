#ifndef READINGSINK_H
#define READINGSINK_H

#include "measurementstream.h"
#include "positionsource.h"
#include "qualitycheck.h"

#include <QString>

// A valid reading as every consumer gets it: the line, its judgement, the
// block average shown after it and the time it was read (UTC milliseconds,
// never going backwards).
struct Measurement
{
    const Reading &reading;
    Quality quality;
    QString average; // as the average display shows it; empty before the first block
    qint64 utc_ms;
    // How long after utc_ms the values go stale: 3 s, or three line
    // intervals of a slower instrument.
    qint64 stale_after_ms = 3000;
    // The reading's number in this run, for a consumer that answers later.
    qint64 sequence = 0;
    // Where the vessel was, when a navigation input knew it at utc_ms, and
    // the PC clock minus GNSS time in force then (utc_ms stays the PC's).
    std::optional<ReadingPosition> position = std::nullopt;
    std::optional<qint64> clock_offset_ms = std::nullopt;
};

// A consumer of what the instrument sends: the screen, the trend, an output,
// an alarm, a publisher. The acquisition pipeline feeds each one in the order
// it was added, line by line as the lines arrive.
class ReadingSink
{
public:
    virtual ~ReadingSink() = default;

    // A valid reading. Returns how many destinations it was sent on to (an
    // output's count for the log's forwarded column; 0 for anything else).
    virtual int take(const Measurement &measurement) = 0;
    // Destinations that will send reading sequence once their line is free:
    // its log row waits to count them (see Acquisition::resolve_sent()).
    virtual int waiting(qint64 sequence) const
    {
        Q_UNUSED(sequence);
        return 0;
    }
    // A complete line that is not a measurement of one or two finite numbers.
    virtual void reject(const Reading &line, qint64 utc_ms)
    {
        Q_UNUSED(line);
        Q_UNUSED(utc_ms);
    }
    // An event the log records: port_lost, port_back, port_closed,
    // config_start, config_end, alarm_on:NAME, alarm_off:NAME.
    virtual void event(const QString &name, qint64 utc_ms)
    {
        Q_UNUSED(name);
        Q_UNUSED(utc_ms);
    }
    // Valid readings stopped coming for the stale deadline (true), or came
    // again (false).
    virtual void stale(bool stale, qint64 utc_ms)
    {
        Q_UNUSED(stale);
        Q_UNUSED(utc_ms);
    }
};

#endif
