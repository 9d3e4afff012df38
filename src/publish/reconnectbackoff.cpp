#include "reconnectbackoff.h"

#include <algorithm>

qint64 ReconnectBackoff::next_delay()
{
    delay = delay == 0 ? first_ms : std::min(delay * 2, longest_ms);
    return delay;
}
