#include "linelog.h"

#include <QDateTime>
#include <QFileInfo>

static const int flush_interval_ms = 1000;

QString LineLog::path_for(const QString &recording_path, bool replacing)
{
    const QFileInfo info(recording_path);
    const QString base = info.path() + QLatin1Char('/') + info.completeBaseName();
    QString path = base + QLatin1String(".lines.txt");
    if (replacing)
        return path;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral(".lines (%1).txt").arg(n);
    return path;
}

bool LineLog::start(const QString &path, bool replace)
{
    file.close();
    partial.clear();
    after_cr = false;
    last_flush = 0;
    file.setFileName(path);
    return file.open(QIODevice::WriteOnly | (replace ? QIODevice::Truncate : QIODevice::NewOnly));
}

bool LineLog::feed(const QByteArray &chunk, qint64 utc_ms)
{
    if (!file.isOpen())
        return false;
    if (last_flush == 0)
        last_flush = utc_ms;
    int from = 0;
    for (int i = 0; i < chunk.size(); ++i) {
        const char c = chunk.at(i);
        if (c != '\r' && c != '\n') {
            after_cr = false;
            continue;
        }
        const bool ends = c == '\r' || !after_cr;
        after_cr = c == '\r';
        if (ends && !write_line(partial + chunk.mid(from, i - from), utc_ms))
            return false;
        if (ends)
            partial.clear();
        from = i + 1;
    }
    partial += chunk.mid(from);
    return true;
}

bool LineLog::write_line(const QByteArray &line, qint64 utc_ms)
{
    const QByteArray text
        = QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::UTC).toString(Qt::ISODateWithMs).toLatin1()
        + '\t' + line + '\n';
    if (file.write(text) == text.size())
        return true;
    file.close();
    return false;
}

bool LineLog::flush_if_due(qint64 now_ms)
{
    if (!file.isOpen() || now_ms - last_flush < flush_interval_ms)
        return file.isOpen();
    last_flush = now_ms;
    if (file.flush())
        return true;
    file.close();
    return false;
}

qint64 LineLog::flush_due_ms() const
{
    return file.isOpen() && last_flush > 0 ? last_flush + flush_interval_ms : 0;
}

bool LineLog::stop(qint64 now_ms)
{
    bool ok = file.isOpen();
    if (ok && !partial.isEmpty())
        ok = write_line(partial, now_ms);
    ok = ok && file.flush();
    file.close();
    partial.clear();
    return ok;
}
