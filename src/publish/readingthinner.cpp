#include "readingthinner.h"

bool ReadingThinner::offer(const QByteArray &payload, qint64 utc_ms)
{
    if (!sent_any || utc_ms >= last_sent + interval_ms) {
        sent_any = true;
        last_sent = utc_ms;
        latest.clear();
        return true;
    }
    latest = payload;
    return false;
}

QByteArray ReadingThinner::take_waiting()
{
    if (latest.isEmpty())
        return latest;
    last_sent += interval_ms;
    QByteArray payload;
    payload.swap(latest);
    return payload;
}
