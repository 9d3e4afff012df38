#ifndef MEASUREMENTLOG_H
#define MEASUREMENTLOG_H

#include "csvrow.h"

#include <QFile>
#include <QString>

// The measurement log beside the raw recording: one CSV row per valid reading
// with its UTC time, so sound speed can be merged with position data by time,
// and event rows for what interrupted the stream. Written through a buffer
// that reaches the disk at least once a second.
class MeasurementLog
{
public:
    // The log reaches the disk at least this often.
    static const int flush_interval_ms = 1000;

    // The log's name for a recording: the same folder and base name with
    // ".csv" ("<base>.measurements.csv" for a recording that is a ".csv"
    // itself), and " (2)", " (3)"... before the suffix while that name exists,
    // unless the recording replaces an earlier one (replacing) and the file
    // of that name is a log of ours: that log goes with it.
    static QString path_for(const QString &recording_path, bool replacing = false);

    // Creates the file and writes the header; an existing file is replaced
    // only when asked to.
    bool start(const QString &path, qint64 now_ms, bool replace = false);
    // Times are written as given: the caller keeps them in order.
    bool add(qint64 utc_ms, const CsvRow &row);
    // Flushes when the last flush is flush_interval_ms old or more.
    bool flush_if_due(qint64 now_ms);
    // When flush_if_due() flushes next; 0 while no log is written.
    qint64 flush_due_ms() const { return file.isOpen() ? last_flush + flush_interval_ms : 0; }
    bool stop();

    bool active() const { return file.isOpen(); }
    QString file_name() const { return file.fileName(); }
    QString error_string() const { return file.errorString(); }

private:
    bool flush();

    QFile file;
    qint64 last_flush = 0;
};

#endif
