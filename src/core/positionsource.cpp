#include "positionsource.h"

// Rounded half up on whole milliseconds; an age is never negative.
QString ReadingPosition::fix_age_text() const
{
    const qint64 tenths = (qMax<qint64>(0, fix_age_ms) + 50) / 100;
    return QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10);
}

QByteArray position_json(const std::optional<ReadingPosition> &position)
{
    if (!position)
        return QByteArray();
    return ",\"latitude\":" + position->latitude_text.toLatin1()
        + ",\"longitude\":" + position->longitude_text.toLatin1()
        + ",\"fix_age_s\":" + position->fix_age_text().toLatin1();
}
