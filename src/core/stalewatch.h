#ifndef STALEWATCH_H
#define STALEWATCH_H

#include <QtGlobal>

// Values go stale when no valid line has come for 3 s, or for three of the
// instrument's line intervals when it sends slower than that. The interval is
// the shortest of the last few gaps, so one long pause (an unplugged cable)
// does not stretch it.
class StaleWatch
{
public:
    void seen(qint64 now_ms);
    // When the values last seen go stale; 0 before any was seen.
    qint64 deadline() const;
    bool stale(qint64 now_ms) const { return last > 0 && now_ms >= deadline(); }
    // Forgets what was seen: nothing goes stale until the next reading.
    void reset() { *this = StaleWatch(); }

private:
    static const int kept = 4;
    qint64 gaps[kept] = {};
    int next = 0;
    qint64 last = 0;
};

#endif
