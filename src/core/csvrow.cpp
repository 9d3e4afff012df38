#include "csvrow.h"

#include <QDateTime>
#include <QLocale>
#include <QtMath>

QByteArray csv_header()
{
    return "time_utc,speed_m_s,temperature_c,average_m_s,quality,event,forwarded,pressure_dbar,"
           "depth_m,latitude,longitude,fix_quality,fix_age_s,clock_offset_ms\n";
}

QByteArray csv_row(qint64 utc_ms, const CsvRow &row)
{
    const QString time
        = QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::UTC).toString(Qt::ISODateWithMs);
    const QLatin1Char comma(',');
    const QString text = time + comma + row.speed + comma + row.temperature + comma + row.average
        + comma + row.quality + comma + row.event + comma + row.forwarded + comma + row.pressure
        + comma + row.depth + comma + row.latitude + comma + row.longitude + comma + row.fix_quality
        + comma + row.fix_age + comma + row.clock_offset + QLatin1Char('\n');
    return text.toUtf8();
}

QString csv_number(double value)
{
    if (qIsNaN(value))
        return QString();
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}
