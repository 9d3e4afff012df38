#ifndef RECORDER_H
#define RECORDER_H

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

// The raw recording: a start date-time line, every byte received, an end
// date-time line. Each chunk reaches the operating system at once, so a crash
// loses nothing that was read; a failed write closes the file.
class Recorder
{
public:
    // Truncates or creates the file and writes the start line.
    bool start(const QString &path, const QDateTime &now);
    // False once a write failed; the file is then closed.
    bool append(const QByteArray &chunk);
    // Writes the end line and closes the file.
    bool stop(const QDateTime &now);
    // Closes the file without an end line, as closing the window does.
    void close() { file.close(); }

    bool recording() const { return file.isOpen(); }
    QString file_name() const { return file.fileName(); }
    QString error_string() const { return file.errorString(); }

    static QByteArray date_time_line(const QDateTime &time);
    // The file itself, for whoever must close it last.
    QFile *file_object() { return &file; }

private:
    QFile file;
};

#endif
