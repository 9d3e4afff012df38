#ifndef CSVROW_H
#define CSVROW_H

#include <QByteArray>
#include <QString>

// One row of the program's CSV dialect, shared by the measurement log and the
// trend export, so both read back the same way: UTC time with milliseconds,
// then the fields as text, empty where there is nothing to say.
struct CsvRow
{
    CsvRow() = default;
    CsvRow(QString speed, QString temperature, QString average, QString quality, QString event,
           QString forwarded)
        : speed(std::move(speed)), temperature(std::move(temperature)), average(std::move(average)),
          quality(std::move(quality)), event(std::move(event)), forwarded(std::move(forwarded))
    {
    }

    QString speed, temperature, average, quality, event, forwarded;
    // Where the probe gives them: pressure (dbar) or depth (m).
    QString pressure, depth;
    // Where a navigation input gives them: the position in decimal degrees,
    // the fix's quality and age (s), and the PC clock minus GNSS time (ms).
    QString latitude, longitude, fix_quality, fix_age, clock_offset;
};

QByteArray csv_header();
QByteArray csv_row(qint64 utc_ms, const CsvRow &row);

// A number the trend keeps as a double, written back as the shortest text
// that reads as the same double (so "1500.125" stays "1500.125"); empty for
// NaN.
QString csv_number(double value);

#endif
