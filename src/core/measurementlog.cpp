#include "measurementlog.h"

#include <QFileInfo>

// Only a file that begins with our header: anything else is not ours to
// replace.
static bool is_log(const QString &path)
{
    QFile file(path);
    const QByteArray header = csv_header();
    return file.open(QIODevice::ReadOnly) && file.read(header.size()) == header;
}

QString MeasurementLog::path_for(const QString &recording_path, bool replacing)
{
    const QFileInfo info(recording_path);
    const bool is_csv = info.suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
    QString base = info.path() + QLatin1Char('/');
    base += is_csv ? info.completeBaseName() + QLatin1String(".measurements")
                   : info.completeBaseName();
    QString path = base + QLatin1String(".csv");
    if (replacing && is_log(path))
        return path;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral(" (%1).csv").arg(n);
    return path;
}

bool MeasurementLog::start(const QString &path, qint64 now_ms, bool replace)
{
    file.close();
    file.setFileName(path);
    last_flush = now_ms;
    if (!file.open(QIODevice::WriteOnly | (replace ? QIODevice::Truncate : QIODevice::NewOnly)))
        return false;
    const QByteArray header = csv_header();
    return file.write(header) == header.size() && flush();
}

bool MeasurementLog::add(qint64 utc_ms, const CsvRow &row)
{
    if (!file.isOpen())
        return false;
    const QByteArray bytes = csv_row(utc_ms, row);
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
    if (!file.isOpen() || now_ms - last_flush < flush_interval_ms)
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
