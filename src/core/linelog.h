#ifndef LINELOG_H
#define LINELOG_H

#include <QByteArray>
#include <QFile>
#include <QString>

// Every line the instrument sent, measurements, replies and garbage alike,
// each after the UTC time its end arrived, to the millisecond:
//   2026-12-07T08:00:00.125Z<TAB>$ 1500.125 15.250
// so any line of the raw recording can be traced to the moment it came.
// Lines end at CR LF, LF or CR; the bytes of a line are kept as they came.
// Written through a buffer that reaches the disk at least once a second.
class LineLog
{
public:
    // Beside the recording: its folder and base name with ".lines.txt",
    // numbered while the name is taken, unless the recording replaces an
    // earlier one (replacing): then the earlier line log goes with it.
    static QString path_for(const QString &recording_path, bool replacing = false);

    bool start(const QString &path, bool replace = false);
    // False once a write failed; the file is then closed.
    bool feed(const QByteArray &chunk, qint64 utc_ms);
    bool flush_if_due(qint64 now_ms);
    // When flush_if_due() flushes next; 0 while nothing is written.
    qint64 flush_due_ms() const;
    // A line still waiting for its end is written as it is, with now_ms.
    bool stop(qint64 now_ms);

    bool active() const { return file.isOpen(); }
    QString file_name() const { return file.fileName(); }
    QString error_string() const { return file.errorString(); }

private:
    bool write_line(const QByteArray &line, qint64 utc_ms);

    QFile file;
    QByteArray partial; // the bytes of a line still waiting for its end
    bool after_cr = false; // the last byte was a CR: an LF next ends nothing
    qint64 last_flush = 0;
};

#endif
