#ifndef CLOCK_H
#define CLOCK_H

#include <QtGlobal>

// The time the pipeline runs on, UTC milliseconds. The program reads the
// system clock; tests hand in one they move themselves, so deadlines, holds
// and flushes can be checked without waiting.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual qint64 now_ms() const = 0;
};

class SystemClock : public Clock
{
public:
    qint64 now_ms() const override;
};

#endif
