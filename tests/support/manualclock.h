#ifndef MANUALCLOCK_H
#define MANUALCLOCK_H

#include "clock.h"

// A clock that moves only when the test moves it.
class ManualClock : public Clock
{
public:
    explicit ManualClock(qint64 start_ms) : now(start_ms) { }
    qint64 now_ms() const override { return now; }
    void advance(qint64 ms) { now += ms; }
    void set(qint64 ms) { now = ms; }

private:
    qint64 now;
};

#endif
