#ifndef MEASUREMENTSTREAM_H
#define MEASUREMENTSTREAM_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// One line from the instrument and what it means.
struct Reading
{
    QString line; // "$ " and the fields with their "\r\n", as the status pane shows it
    QStringList fields; // split at every single blank; the line end stays on the last
    QString speed_text, temperature_text; // as received, for the displays
    double speed = 0, temperature = 0;
    bool has_temperature = false;
    bool valid = false; // one or two fields, each a finite number
    bool shown() const { return fields.size() == 1 || fields.size() == 2; }
};

// Chunks from the serial port in, readings out, in order. A line runs from
// the last "$" before its "\r\n", so a line cut off by a "$" never swallows
// the good line after it. Lines are found among the bytes and each is decoded
// whole, so broken UTF-8 reads the same however the chunks fall (Qt's
// stateful decoder can turn a broken sequence cut between chunks into a
// different number of replacement characters, even none, which would join
// the digits around it). NUL bytes are dropped.
// Qt Core only: tests and fuzzers drive it directly.
class MeasurementStream
{
public:
    // Longest line, from "$" to "\r\n" inclusive, that can be a measurement;
    // the text kept while waiting for a line end never exceeds it.
    static const int max_line = 4096;

    // Every complete line of the chunk, in order. *text receives the chunk
    // decoded as UTF-8 (a character split between chunks kept whole, NULs
    // dropped), as the pane echoes it during a configuration exchange;
    // without text the chunk is not decoded.
    QVector<Reading> feed(const QByteArray &chunk, QString *text = nullptr);

    // Bytes received after the last complete line, waiting for its end.
    const QByteArray &pending() const { return buffer; }
    // Lines that were not a measurement of one or two finite numbers.
    qint64 malformed_count() const { return malformed; }

    static Reading parse(const QString &body);

private:
    void take_lines(QVector<Reading> &readings);
    QByteArray whole_characters(const QByteArray &bytes);

    QByteArray buffer;
    QByteArray echo_carry; // a character cut off at the end of the last chunk
    qint64 malformed = 0;
};

#endif
