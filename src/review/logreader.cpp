#include "logreader.h"

#include "csvlogparser.h"
#include "rawrecordingparser.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cstring>

ReviewLog LogReader::read(const QString &path) const
{
    ReviewLog log;
    log.path = path;
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        log.problems << tr("无法打开 %1：%2")
                            .arg(QFileInfo(path).fileName(),
                                 file.error() == QFileDevice::NoError ? tr("是文件夹")
                                                                      : file.errorString());
        return log;
    }
    const qint64 modified_ms = QFileInfo(file).lastModified().toMSecsSinceEpoch();
    // Mapped, a large log costs no copy; a device or pipe that cannot be
    // mapped is read whole.
    const qint64 size = file.size();
    const uchar *mapped = size > 0 ? file.map(0, size) : nullptr;
    if (mapped) {
        read_bytes(log, reinterpret_cast<const char *>(mapped), size, modified_ms);
    } else {
        const QByteArray bytes = file.readAll();
        read_bytes(log, bytes.constData(), bytes.size(), modified_ms);
    }
    if (!log.readable() && log.problems.isEmpty())
        log.problems << tr("%1 不是测量日志或原始记录").arg(QFileInfo(path).fileName());
    else if (!log.bad_lines.empty())
        log.problems << bad_lines_message(log.bad_lines);
    return log;
}

void LogReader::read_bytes(ReviewLog &log, const char *data, qint64 size, qint64 modified_ms) const
{
    // A byte order mark, as an editor may leave, is not part of the header.
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
        data += 3;
        size -= 3;
    }
    const char *newline = static_cast<const char *>(std::memchr(data, '\n', size_t(size)));
    if (!newline)
        return;
    qint64 first = newline - data;
    if (first > 0 && data[first - 1] == '\r')
        --first;
    qint64 start_ms;
    if (CsvLogParser::header_columns(data, first) > 0) {
        log.kind = ReviewLog::Kind::csv;
        CsvLogParser(log).parse(data, size);
    } else if (RawRecordingParser::stamp(data, first, &start_ms)) {
        log.kind = ReviewLog::Kind::raw;
        RawRecordingParser(log, options).parse(data, size, modified_ms);
    }
}

QString LogReader::bad_lines_message(const std::vector<qint64> &lines, int shown)
{
    QStringList numbers;
    for (size_t i = 0; i < lines.size() && int(i) < shown; ++i)
        numbers << QString::number(lines[i]);
    const QString listed = numbers.join(tr("、"));
    // English says "line" or "lines" by how many are listed.
    if (int(lines.size()) <= shown)
        return tr("第 %1 行无法读取", nullptr, int(numbers.size())).arg(listed);
    return tr("第 %1 行等 %n 行无法读取", nullptr, int(lines.size())).arg(listed);
}
