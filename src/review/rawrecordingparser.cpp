#include "rawrecordingparser.h"

#include "measurementstream.h"
#include "qualitycheck.h"

#include <QDateTime>

#include <cstring>
#include <limits>

static const qint64 stamp_length = 19; // yyyy_MM_dd_hh_mm_ss

bool RawRecordingParser::stamp(const char *line, qint64 length, qint64 *utc_ms)
{
    if (length != stamp_length)
        return false;
    for (int i = 0; i < stamp_length; ++i) {
        const bool separator = i == 4 || i == 7 || i == 10 || i == 13 || i == 16;
        if (separator ? line[i] != '_' : unsigned(line[i] - '0') > 9)
            return false;
    }
    const QDateTime time = QDateTime::fromString(QString::fromLatin1(line, int(length)),
                                                 QStringLiteral("yyyy_MM_dd_hh_mm_ss"));
    if (!time.isValid())
        return false;
    *utc_ms = time.toMSecsSinceEpoch();
    return true;
}

// The stamp that ends data, if there is one: its offset, else -1. The
// recorder writes it straight after the last bytes received, so it may
// follow a line cut short.
static qint64 end_stamp(const char *data, qint64 size, qint64 *utc_ms)
{
    qint64 end = size;
    if (end > 0 && data[end - 1] == '\n')
        --end;
    else
        return -1;
    if (end > 0 && data[end - 1] == '\r')
        --end;
    const qint64 start = end - stamp_length;
    return start >= 0 && RawRecordingParser::stamp(data + start, stamp_length, utc_ms) ? start : -1;
}

void RawRecordingParser::parse(const char *data, qint64 size, qint64 modified_ms)
{
    const char *newline = static_cast<const char *>(std::memchr(data, '\n', size_t(size)));
    const qint64 body = newline ? newline - data + 1 : size;
    const qint64 first_end = newline && newline > data && newline[-1] == '\r' ? body - 2 : body - 1;
    if (!stamp(data, first_end, &log.start_ms))
        return;

    qint64 end_ms = 0;
    const qint64 end = body < size ? end_stamp(data + body, size - body, &end_ms) : -1;
    log.end_missing = end < 0;
    const qint64 lines = read_lines(data + body, end < 0 ? size - body : end);

    log.times_estimated = true;
    log.notes << tr("原始记录没有逐行时间：各行的时间按开始与结束时间均匀估计");
    if (!log.end_missing && end_ms >= log.start_ms) {
        log.end_ms = end_ms;
    } else if (modified_ms > log.start_ms) {
        log.end_ms = modified_ms;
        log.notes << tr("原始记录没有可用的结束时间行：结束时间取文件的修改时间");
    } else {
        log.end_ms = log.start_ms + lines * nominal_interval_ms;
        log.notes << tr("原始记录没有可用的结束时间：按每秒一行估计");
    }
    spread_times(lines);
}

// Feeds the bytes through the stream in pieces, so the readings in flight
// stay few. Times hold each line's number until spread_times() knows how
// many there are; returns that number.
qint64 RawRecordingParser::read_lines(const char *data, qint64 size)
{
    QualityCheck check;
    check.set_range(options.range_low, options.range_high);
    check.set_spike_threshold(options.spike_threshold);
    MeasurementStream stream;
    const double none = std::numeric_limits<double>::quiet_NaN();
    qint64 line = 0;
    const qint64 piece = 1 << 16;
    for (qint64 at = 0; at < size; at += piece) {
        const QByteArray bytes = QByteArray::fromRawData(data + at, int(qMin(piece, size - at)));
        for (const Reading &reading : stream.feed(bytes)) {
            if (reading.valid) {
                log.time.push_back(line);
                log.speed.push_back(reading.speed);
                log.temperature.push_back(reading.has_temperature ? reading.temperature : none);
                log.average.push_back(float(none));
                log.quality.push_back(quint8(check.judge(reading.speed)));
            } else {
                log.rejected.push_back(line);
            }
            ++line;
        }
    }
    if (stream.pending().contains('$')) {
        log.truncated = true;
        log.problems << tr("最后一行不完整");
    }
    return line;
}

// Line i of n in the middle of the i-th of n equal parts of the session, so
// the rate comes out as n lines over its length.
void RawRecordingParser::spread_times(qint64 lines)
{
    const qint64 length = log.end_ms - log.start_ms;
    const auto time_of = [&](qint64 line) {
        return log.start_ms + qint64(double(length) * double(2 * line + 1) / double(2 * lines));
    };
    for (qint64 &time : log.time)
        time = time_of(time);
    for (qint64 &time : log.rejected)
        time = time_of(time);
}
