#include "csvlogparser.h"

#include "civildate.h"
#include "qualitycheck.h"

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

// The headers the program has written, oldest first.
static const char *const headers[] = {
    "time_utc,speed_m_s,temperature_c,average_m_s,quality,event",
    "time_utc,speed_m_s,temperature_c,average_m_s,quality,event,forwarded",
    "time_utc,speed_m_s,temperature_c,average_m_s,quality,event,forwarded,pressure_dbar,depth_m,"
    "latitude,longitude,fix_quality,fix_age_s,clock_offset_ms",
};
static const int header_widths[] = {6, 7, 14};
static const int trailing_columns = 7; // after forwarded in the newest

int CsvLogParser::header_columns(const char *line, qint64 length)
{
    for (int i = 0; i < 3; ++i)
        if (length == qint64(std::strlen(headers[i]))
            && std::memcmp(line, headers[i], size_t(length)) == 0)
            return header_widths[i];
    return 0;
}

// The value of n decimal digits at p; -1 if one is not a digit.
static int digits(const char *p, int n)
{
    int value = 0;
    for (int i = 0; i < n; ++i) {
        const unsigned digit = unsigned(p[i] - '0');
        if (digit > 9)
            return -1;
        value = value * 10 + int(digit);
    }
    return value;
}

// "2026-12-07T08:00:00.125Z": fractions of any length, the Z optional.
static bool parse_utc(const char *p, const char *end, qint64 *utc_ms)
{
    if (end - p < 19 || p[4] != '-' || p[7] != '-' || p[10] != 'T' || p[13] != ':' || p[16] != ':')
        return false;
    const int year = digits(p, 4), month = digits(p + 5, 2), day = digits(p + 8, 2);
    const int hour = digits(p + 11, 2), minute = digits(p + 14, 2), second = digits(p + 17, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month)
        || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    p += 19;
    int millis = 0;
    if (p < end && *p == '.') {
        const char *first = ++p;
        for (int scale = 100; p < end && unsigned(*p - '0') <= 9; ++p, scale /= 10)
            millis += (*p - '0') * scale;
        if (p == first)
            return false;
    }
    if (p < end && *p == 'Z')
        ++p;
    if (p != end)
        return false;
    const qint64 seconds
        = ((days_from_civil(year, month, day) * 24 + hour) * 60 + minute) * 60 + second;
    *utc_ms = seconds * 1000 + millis;
    return true;
}

// A finite number filling [p, end). from_chars is strict; what the instrument
// may have sent beyond it ("+1500.1") goes to Qt's slower reading.
static bool parse_number(const char *p, const char *end, double *value)
{
    const auto result = std::from_chars(p, end, *value);
    if (result.ec != std::errc() || result.ptr != end) {
        bool ok = false;
        *value = QByteArray::fromRawData(p, int(end - p)).toDouble(&ok);
        if (!ok)
            return false;
    }
    return std::isfinite(*value);
}

static bool parse_optional(const char *p, const char *end, double *value)
{
    if (p == end) {
        *value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    return parse_number(p, end, value);
}

static int parse_quality(const char *p, const char *end)
{
    for (Quality quality : {Quality::ok, Quality::range, Quality::spike}) {
        const char *name = quality_name(quality);
        const size_t length = std::strlen(name);
        if (size_t(end - p) == length && std::memcmp(p, name, length) == 0)
            return int(quality);
    }
    return -1;
}

static bool all_digits(const char *p, const char *end)
{
    for (; p < end; ++p)
        if (unsigned(*p - '0') > 9)
            return false;
    return true;
}

void CsvLogParser::parse(const char *data, qint64 size)
{
    const char *p = data;
    const char *const end = data + size;
    const char *newline = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
    const char *header_end = newline ? newline : end;
    if (header_end > p && header_end[-1] == '\r')
        --header_end;
    columns = header_columns(p, header_end - p);
    p = newline ? newline + 1 : end;

    const size_t expected = size_t(size / 36 + 16); // the shortest reading row is some 38 bytes
    log.time.reserve(expected);
    log.speed.reserve(expected);
    log.temperature.reserve(expected);
    log.average.reserve(expected);
    log.quality.reserve(expected);

    for (qint64 line_number = 2; p < end; ++line_number) {
        newline = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!newline) {
            // Cut off, or still being written: whatever it holds is not sure.
            log.truncated = true;
            reject(line_number);
            break;
        }
        const char *line_end = newline > p && newline[-1] == '\r' ? newline - 1 : newline;
        if (line_end > p && !parse_row(p, line_end))
            reject(line_number);
        p = newline + 1;
    }
    log.end_ms = last_time;
    log.rejected.insert(log.rejected.begin(), size_t(rejected_before_first), log.start_ms);
}

void CsvLogParser::reject(qint64 line_number)
{
    log.bad_lines.push_back(line_number);
    if (any_row)
        log.rejected.push_back(last_time);
    else
        ++rejected_before_first;
}

// Where each field of a row lies: time, speed, temperature, average and
// quality end at a comma; the event is the rest up to forwarded, and the
// newest log's seven columns after that (an alarm's name may hold a comma).
struct RowFields
{
    const char *begin[5], *stop[5];
    const char *event, *event_end;
    const char *tail_begin[trailing_columns], *tail_end[trailing_columns];
};

static bool split_row(const char *p, const char *end, int columns, RowFields *row)
{
    for (int i = 0; i < 5; ++i) {
        const char *comma = static_cast<const char *>(std::memchr(p, ',', size_t(end - p)));
        if (!comma)
            return false;
        row->begin[i] = p;
        row->stop[i] = comma;
        p = comma + 1;
    }
    row->event = p;
    const char *event_end = end;
    for (int i = trailing_columns - 1; columns == 14 && i >= 0; --i) {
        row->tail_end[i] = event_end;
        while (event_end > p && event_end[-1] != ',')
            --event_end;
        if (event_end == p)
            return false;
        row->tail_begin[i] = event_end--;
    }
    if (columns >= 7) {
        const char *forwarded_end = event_end;
        while (event_end > p && event_end[-1] != ',')
            --event_end;
        if (event_end == p || !all_digits(event_end, forwarded_end))
            return false;
        --event_end;
    }
    row->event_end = event_end;
    return true;
}

bool CsvLogParser::parse_row(const char *p, const char *end)
{
    RowFields row;
    qint64 utc_ms;
    if (!split_row(p, end, columns, &row) || !parse_utc(row.begin[0], row.stop[0], &utc_ms)
        || (any_row && utc_ms < last_time))
        return false;
    if (row.begin[1] == row.stop[1] ? !take_event(row, utc_ms) : !take_reading(row, utc_ms))
        return false;
    if (!any_row)
        log.start_ms = utc_ms;
    any_row = true;
    last_time = utc_ms;
    return true;
}

bool CsvLogParser::take_event(const RowFields &row, qint64 utc_ms)
{
    if (row.event == row.event_end || row.stop[2] != row.begin[2] || row.stop[3] != row.begin[3]
        || row.stop[4] != row.begin[4])
        return false;
    QByteArray name(row.event, int(row.event_end - row.event));
    if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"'))
        name = name.mid(1, name.size() - 2).replace("\"\"", "\"");
    log.events.push_back({utc_ms, QString::fromUtf8(name)});
    return true;
}

bool CsvLogParser::take_reading(const RowFields &row, qint64 utc_ms)
{
    double speed, temperature, average;
    double latitude = std::numeric_limits<double>::quiet_NaN(), longitude = latitude;
    const int quality = parse_quality(row.begin[4], row.stop[4]);
    if (row.event != row.event_end || quality < 0
        || !parse_number(row.begin[1], row.stop[1], &speed)
        || !parse_optional(row.begin[2], row.stop[2], &temperature)
        || !parse_optional(row.begin[3], row.stop[3], &average))
        return false;
    if (columns == 14) {
        if (!parse_optional(row.tail_begin[2], row.tail_end[2], &latitude)
            || !parse_optional(row.tail_begin[3], row.tail_end[3], &longitude))
            return false;
        log.latitude.push_back(latitude);
        log.longitude.push_back(longitude);
    }
    log.time.push_back(utc_ms);
    log.speed.push_back(speed);
    log.temperature.push_back(temperature);
    log.average.push_back(float(average));
    log.quality.push_back(quint8(quality));
    return true;
}
