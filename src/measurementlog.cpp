#include "measurementlog.h"

#include <QDateTime>
#include <QFileInfo>

QString MeasurementLog::path_for(const QString &recording_path)
{
    const QFileInfo info(recording_path);
    const bool is_csv = info.suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
    QString base = info.path() + QLatin1Char('/');
    base += is_csv ? info.completeBaseName() + QLatin1String(".measurements")
                   : info.completeBaseName();
    QString path = base + QLatin1String(".csv");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral(" (%1).csv").arg(n);
    return path;
}

bool MeasurementLog::start(const QString &path, qint64 now_ms)
{
    file.close();
    file.setFileName(path);
    last_time = 0;
    last_flush = now_ms;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const QByteArray header = "time_utc,speed_m_s,temperature_c,average_m_s,quality,event\n";
    return file.write(header) == header.size() && flush();
}

bool MeasurementLog::add_reading(qint64 utc_ms, const Row &row)
{
    return write_row(utc_ms, row, "");
}

bool MeasurementLog::add_event(qint64 utc_ms, const char *event)
{
    return write_row(utc_ms, Row(), event);
}

bool MeasurementLog::write_row(qint64 utc_ms, const Row &row, const char *event)
{
    if (!file.isOpen())
        return false;
    // Rows keep their order in time even if the clock is set back.
    last_time = qMax(last_time, utc_ms);
    const QString time
        = QDateTime::fromMSecsSinceEpoch(last_time, Qt::UTC).toString(Qt::ISODateWithMs);
    const QString text = time + QLatin1Char(',') + row.speed + QLatin1Char(',') + row.temperature
        + QLatin1Char(',') + row.average + QLatin1Char(',') + row.quality + QLatin1Char(',')
        + QLatin1String(event) + QLatin1Char('\n');
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) == bytes.size())
        return true;
    file.close();
    return false;
}

bool MeasurementLog::flush()
{
    if (file.flush())
        return true;
    file.close();
    return false;
}

bool MeasurementLog::flush_if_due(qint64 now_ms)
{
    if (!file.isOpen() || now_ms - last_flush < 1000)
        return file.isOpen();
    last_flush = now_ms;
    return flush();
}

bool MeasurementLog::stop()
{
    const bool ok = file.isOpen() && flush();
    file.close();
    return ok;
}
