#ifndef MEASUREMENTLOG_H
#define MEASUREMENTLOG_H

#include <QFile>
#include <QString>

// The measurement log beside the raw recording: one CSV row per valid reading
// with its UTC time, so sound speed can be merged with position data by time,
// and event rows for what interrupted the stream. Written through a buffer
// that reaches the disk at least once a second.
class MeasurementLog
{
public:
    struct Row
    {
        QString speed, temperature, average, quality;
    };

    // The log's name for a recording: the same folder and base name with
    // ".csv" ("<base>.measurements.csv" for a recording that is a ".csv"
    // itself), and " (2)", " (3)"... before the suffix while that name exists.
    static QString path_for(const QString &recording_path);

    // Creates the file (never replacing one) and writes the header.
    bool start(const QString &path, qint64 now_ms);
    bool add_reading(qint64 utc_ms, const Row &row);
    bool add_event(qint64 utc_ms, const char *event);
    // Flushes when the last flush is a second old or more.
    bool flush_if_due(qint64 now_ms);
    bool stop();

    bool active() const { return file.isOpen(); }
    QString file_name() const { return file.fileName(); }
    QString error_string() const { return file.errorString(); }

private:
    bool write_row(qint64 utc_ms, const Row &row, const char *event);
    bool flush();

    QFile file;
    qint64 last_time = 0;
    qint64 last_flush = 0;
};

#endif
