#ifndef OUTPUTGATE_H
#define OUTPUTGATE_H

#include "qualitycheck.h"

// Which readings an output sends on. A sonar that is given a wild value
// uses it, so by default only readings judged ok go out. Optionally the last
// good value is repeated while readings are held back, at most once a
// second, but only until the values go stale: after that the output is
// silent until the next good reading, never sending a frozen value.
// Times are passed in (milliseconds), so the gate runs on any clock.
class OutputGate
{
public:
    enum Mode : quint8 {
        good_only, // valid readings judged ok
        every_valid, // every valid reading, whatever its quality
    };

    static constexpr qint64 repeat_ms
        = 1000; // the shortest time between two sentences while holding
    static constexpr qint64 default_stale_ms = 3000;

    void set_mode(Mode mode) { gate_mode = mode; }
    void set_hold(bool on) { hold = on; }
    // How long after the last good reading its value may still be repeated:
    // the stale deadline in force (3 s, or three line intervals of a slower
    // instrument), as each reading brings it.
    void set_stale_after(qint64 ms) { stale_ms = ms; }

    // True when a reading of this quality goes out now.
    bool decide(Quality quality, qint64 now_ms);
    // True when the last good value is to be repeated now; repeated() then
    // says it went.
    bool hold_due(qint64 now_ms) const;
    void repeated(qint64 now_ms) { last_sent_ms = now_ms; }
    // Valid readings stopped coming: nothing more to repeat.
    void expire() { have_good = false; }
    void reset();

private:
    Mode gate_mode = good_only;
    bool hold = false;
    qint64 stale_ms = default_stale_ms;
    bool have_good = false;
    bool holding_back = false; // the latest reading was held back
    qint64 last_good_ms = 0;
    qint64 last_sent_ms = 0;
};

#endif
