#ifndef RECONNECTBACKOFF_H
#define RECONNECTBACKOFF_H

#include <QtGlobal>

// The wait before the next connection attempt: 1 s after the first failure,
// doubling with each failure after it up to a minute, so a broker that is
// away long is not hammered, and one that comes back is found soon.
class ReconnectBackoff
{
public:
    static constexpr qint64 default_first_ms = 1000;
    static constexpr qint64 longest_ms = 60000;

    explicit ReconnectBackoff(qint64 first = default_first_ms) : first_ms(first) { }

    // The wait after one more failure.
    qint64 next_delay();
    // Connected: the next failure waits the shortest time again.
    void reset() { delay = 0; }

private:
    qint64 first_ms;
    qint64 delay = 0;
};

#endif
