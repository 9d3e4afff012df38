#include "measurementstream.h"

#include <QTextCodec>
#include <QTextDecoder>
#include <QtMath>

MeasurementStream::MeasurementStream()
    : decoder(QTextCodec::codecForName("UTF-8")->makeDecoder(QTextCodec::IgnoreHeader))
{
}

MeasurementStream::~MeasurementStream() = default;

QVector<Reading> MeasurementStream::feed(const QByteArray &chunk, QString *text)
{
    QString decoded = decoder->toUnicode(chunk);
    decoded.remove(QChar(0));
    buffer += decoded;
    if (text)
        *text = decoded;

    QVector<Reading> readings;
    take_lines(readings);
    return readings;
}

void MeasurementStream::take_lines(QVector<Reading> &readings)
{
    static const QString line_end = QStringLiteral("\r\n");
    int from = 0;
    for (int end; (end = buffer.indexOf(line_end, from)) >= 0; from = end + 2) {
        const int start = end > 0 ? buffer.lastIndexOf(QLatin1Char('$'), end - 1) : -1;
        if (start < from || end + 2 - start > max_line)
            continue; // no "$", or too long to be a measurement: not a line
        Reading reading = parse(buffer.mid(start + 1, end + 1 - start));
        if (!reading.valid)
            ++malformed;
        readings.append(reading);
    }

    // Keep only what may still become a line: from the last "$" on, unless
    // it is already too long to be one.
    const int start = buffer.lastIndexOf(QLatin1Char('$'));
    if (start < from || buffer.size() - start >= max_line)
        buffer.clear();
    else
        buffer.remove(0, start);
}

static bool is_number(const QString &field, double *value)
{
    bool ok = false;
    *value = field.toDouble(&ok);
    return ok && qIsFinite(*value);
}

// body: what follows "$", with the line end.
Reading MeasurementStream::parse(const QString &body)
{
    // The character after "$" is normally a blank; skip it unless it begins
    // the speed itself, as in "$1503.000".
    int skip = 1;
    if (!body.isEmpty()) {
        const QChar c = body.at(0);
        if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.'))
            skip = 0;
    }
    Reading reading;
    const QString fields_text = body.mid(skip);
    reading.line = QStringLiteral("$ ") + fields_text;
    reading.fields = fields_text.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (!reading.shown())
        return reading;

    reading.speed_text = reading.fields.at(0);
    reading.valid = is_number(reading.speed_text, &reading.speed);
    if (reading.fields.size() == 2) {
        reading.has_temperature = true;
        reading.temperature_text = reading.fields.at(1);
        reading.valid = reading.valid && is_number(reading.temperature_text, &reading.temperature);
    }
    return reading;
}
