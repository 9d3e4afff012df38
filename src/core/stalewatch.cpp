#include "stalewatch.h"

void StaleWatch::seen(qint64 now_ms)
{
    if (last > 0) {
        gaps[next] = now_ms - last;
        next = (next + 1) % kept;
    }
    last = now_ms;
}

qint64 StaleWatch::deadline() const
{
    if (last == 0)
        return 0;
    qint64 interval = 0;
    for (qint64 gap : gaps) {
        if (gap > 0 && (interval == 0 || gap < interval))
            interval = gap;
    }
    return last + qMax<qint64>(3000, 3 * interval);
}
