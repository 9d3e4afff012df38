#include "timetext.h"

#include <QDateTime>

QString local_time_text(qint64 utc_ms)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::LocalTime);
    const int offset_min = local.offsetFromUtc() / 60;
    return QStringLiteral("%1 UTC%2%3:%4")
        .arg(local.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
             offset_min < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(qAbs(offset_min) / 60, 2, 10, QLatin1Char('0'))
        .arg(qAbs(offset_min) % 60, 2, 10, QLatin1Char('0'));
}
