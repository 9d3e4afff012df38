#ifndef SESSIONFILES_H
#define SESSIONFILES_H

#include "csvrow.h"
#include "linelog.h"
#include "measurementlog.h"
#include "recorder.h"

#include <QObject>
#include <QVector>

#include <deque>

// What is kept of a session on disk: the raw recording, the measurement log
// beside it and, when asked, the timestamped line log. Bytes that came while
// the file was being chosen wait for it. The log's rows go in the order they
// came, each once every consumer has said how many destinations sent its
// reading: one whose sentence waits for a slow line is held, with the rows
// after it, until that sentence went or was replaced. A failed write closes
// every file and says so once.
class SessionFiles : public QObject
{
    Q_OBJECT

public:
    // A row held longer than this goes with what is known.
    static const qint64 row_wait_ms = 1000;

    // False when the recording cannot be created; *log_error is set when
    // only a log could not be. A recording that replaces a file (the
    // operator said so) replaces the logs of ours beside it too.
    // first_event: a row to begin the log with, if any.
    bool start(const QString &path, qint64 at, QString *log_error, const QString &first_event);
    void stop(bool end_line, qint64 at);
    bool recording() const { return raw.recording(); }

    void hold(bool on);
    void take(const QByteArray &chunk, qint64 at);

    // sequence: the reading's number (0 for an event); waiting: consumers
    // yet to say whether they sent it.
    void add_row(qint64 at, const CsvRow &row, qint64 sequence = 0, int forwarded = 0,
                 int waiting = 0);
    // A waiting consumer's answer for reading sequence.
    void resolve(qint64 sequence, bool sent);

    // Reaches the disk at least once a second.
    void flush(qint64 now_ms);
    qint64 flush_due_ms() const;

    void set_line_log(bool on) { line_log_wanted = on; }
    bool line_log() const { return line_log_wanted; }

    Recorder &recorder() { return raw; }
    const MeasurementLog &log() const { return csv; }
    const LineLog &lines() const { return lines_log; }

signals:
    void failed();

private:
    struct Row
    {
        qint64 at;
        CsvRow row;
        qint64 sequence;
        int forwarded, waiting;
    };
    struct Chunk
    {
        qint64 at;
        QByteArray bytes;
    };

    void write(const QByteArray &chunk, qint64 at);
    void write_rows(qint64 older_than_ms);
    void fail();

    Recorder raw;
    MeasurementLog csv;
    LineLog lines_log;
    bool line_log_wanted = false;
    std::deque<Row> rows; // not written yet
    QVector<Chunk> held; // came while the file was chosen
    qint64 held_bytes = 0;
    bool holding = false;
    qint64 last_ms = 0;
};

#endif
