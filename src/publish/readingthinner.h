#ifndef READINGTHINNER_H
#define READINGTHINNER_H

#include <QByteArray>

// At most one reading a second to the broker, and that one the latest: a
// reading sooner than a second after the last one sent waits, replacing any
// that waited before it, until the second is up. Times are the readings' own
// (UTC ms), so the caller decides what the clock is.
class ReadingThinner
{
public:
    static constexpr qint64 interval_ms = 1000;

    // True when the reading is to go out now; otherwise it waits.
    bool offer(const QByteArray &payload, qint64 utc_ms);
    bool waiting() const { return !latest.isEmpty(); }
    // When the waiting reading is due.
    qint64 due_ms() const { return last_sent + interval_ms; }
    // The waiting reading, sent now: the next may go a second after its due time.
    QByteArray take_waiting();

private:
    QByteArray latest;
    qint64 last_sent = 0;
    bool sent_any = false;
};

#endif
