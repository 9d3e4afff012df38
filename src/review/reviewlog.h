#ifndef REVIEWLOG_H
#define REVIEWLOG_H

#include <QString>
#include <QStringList>

#include <vector>

struct LogEvent
{
    qint64 utc_ms;
    QString name; // port_lost, config_start, alarm_on:NAME, ...
};

// A measurement log or raw recording read back, a column a field, so a
// million readings cost some 30 MB. Times are UTC milliseconds and never go
// backwards, so every column is sorted by time.
struct ReviewLog
{
    enum class Kind : quint8 { unreadable, csv, raw };

    Kind kind = Kind::unreadable;
    QString path;

    std::vector<qint64> time;
    std::vector<double> speed; // m/s
    std::vector<double> temperature; // degC; NaN where the line had none
    std::vector<float> average; // m/s; NaN before the first block and in raw recordings
    std::vector<quint8> quality; // a Quality
    // Decimal degrees, NaN where the reading had no position; empty for a
    // raw recording or a log written before positions were logged.
    std::vector<double> latitude, longitude;
    // When each line came that was not a usable reading: a malformed line
    // of a raw recording, or a damaged row of a log (the time of the row
    // read before it).
    std::vector<qint64> rejected;
    std::vector<qint64> bad_lines; // line numbers of a log's damaged rows
    std::vector<LogEvent> events;

    QStringList problems; // what could not be read, for the operator
    QStringList notes; // how the times were found, when they were estimated

    qint64 start_ms = 0; // the session's start and end (the first and last row of a log)
    qint64 end_ms = 0;
    bool times_estimated = false; // a raw recording's lines spread over the session
    bool end_missing = false; // a raw recording closed without its end line
    bool truncated = false; // the last line ends without its line end

    int size() const { return int(time.size()); }
    bool readable() const { return kind != Kind::unreadable; }
};

#endif
