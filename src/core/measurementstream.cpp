#include "measurementstream.h"

#include <QTextCodec>
#include <QtMath>

// Each call stands alone, and a byte order mark is kept as a character: where
// a piece starts must not change the text. Plain ASCII, as the instrument
// sends, needs no decoder.
static QString from_utf8(const char *data, int size)
{
    int ascii = 0;
    while (ascii < size && uchar(data[ascii]) < 0x80)
        ++ascii;
    if (ascii == size)
        return QString::fromLatin1(data, size);
    static QTextCodec *const codec = QTextCodec::codecForMib(106);
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return codec->toUnicode(data, size, &state);
}

// How many bytes at the end of data begin a character still coming.
static int unfinished_tail(const QByteArray &data)
{
    for (int back = 1; back <= 3 && back <= data.size(); ++back) {
        const uchar c = uchar(data.at(data.size() - back));
        if (c < 0xC0)
            continue;
        const int needed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        return back < needed ? back : 0;
    }
    return 0;
}

QVector<Reading> MeasurementStream::feed(const QByteArray &chunk, QString *text)
{
    QByteArray bytes = chunk;
    if (bytes.contains('\0'))
        bytes.replace('\0', QByteArray());
    buffer += bytes;
    // Carried whether echoed or not: a character a chunk begins may end in
    // an echoed one.
    const QByteArray whole = whole_characters(bytes);
    if (text)
        *text = from_utf8(whole.constData(), whole.size());

    QVector<Reading> readings;
    take_lines(readings);
    return readings;
}

// The bytes up to the last whole character; a character whose bytes are
// still coming waits for the next chunk.
QByteArray MeasurementStream::whole_characters(const QByteArray &bytes)
{
    QByteArray data = echo_carry + bytes;
    const int tail = unfinished_tail(data);
    echo_carry = data.right(tail);
    data.chop(tail);
    return data;
}

void MeasurementStream::take_lines(QVector<Reading> &readings)
{
    int from = 0;
    for (int end; (end = buffer.indexOf("\r\n", from)) >= 0; from = end + 2) {
        const int start = end > 0 ? buffer.lastIndexOf('$', end - 1) : -1;
        if (start < from || end + 2 - start > max_line)
            continue; // no "$", or too long to be a measurement: not a line
        Reading reading = parse(from_utf8(buffer.constData() + start + 1, end + 1 - start));
        if (!reading.valid)
            ++malformed;
        readings.append(reading);
    }

    // Keep only what may still become a line: from the last "$" on, unless
    // it is already too long to be one.
    const int start = buffer.lastIndexOf('$');
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
