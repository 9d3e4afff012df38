#include "clock.h"

#include <QDateTime>

qint64 SystemClock::now_ms() const
{
    return QDateTime::currentMSecsSinceEpoch();
}
