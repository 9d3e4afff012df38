#include "recorder.h"

QByteArray Recorder::date_time_line(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy_MM_dd_hh_mm_ss")).toLatin1() + "\r\n";
}

bool Recorder::start(const QString &path, const QDateTime &now)
{
    file.close();
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    return append(date_time_line(now));
}

bool Recorder::append(const QByteArray &chunk)
{
    if (!file.isOpen())
        return false;
    if (file.write(chunk) == chunk.size() && file.flush())
        return true;
    file.close();
    return false;
}

bool Recorder::stop(const QDateTime &now)
{
    const bool written = append(date_time_line(now));
    file.close();
    return written;
}
