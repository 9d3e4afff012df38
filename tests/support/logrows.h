#ifndef LOGROWS_H
#define LOGROWS_H

#include <QFile>
#include <QStringList>

// A measurement log's rows after its header: the event column, "reading" for
// a reading's row; *first gets "pressure,depth" of the first reading.
inline QStringList log_rows(const QString &path, QString *first)
{
    QFile file(path);
    QStringList rows;
    if (!file.open(QIODevice::ReadOnly) || file.readLine().isEmpty())
        return rows;
    while (!file.atEnd()) {
        const QStringList fields = QString(file.readLine()).trimmed().split(',');
        const bool reading = fields.value(5).isEmpty();
        if (reading && rows.indexOf("reading") < 0)
            *first = fields.mid(7, 2).join(',');
        rows << (reading ? QStringLiteral("reading") : fields.value(5));
    }
    return rows;
}

#endif
