#include "timetext.h"

#include <QDateTime>

QString local_time_text(qint64 utc_ms)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::LocalTime);
    return local.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss ")) + local_zone_text(utc_ms);
}

QString local_zone_text(qint64 utc_ms)
{
    const int offset_min
        = QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::LocalTime).offsetFromUtc() / 60;
    return QStringLiteral("UTC%1%2:%3")
        .arg(offset_min < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(qAbs(offset_min) / 60, 2, 10, QLatin1Char('0'))
        .arg(qAbs(offset_min) % 60, 2, 10, QLatin1Char('0'));
}
