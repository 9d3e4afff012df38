#include "measurementstream.h"

#include "linefields.h"

#include <QTextCodec>
#include <QtMath>

#include <cctype>
#include <utility>

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

static bool starts_number(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
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
    if (current == FormatId::dollar)
        take_lines(readings);
    else
        take_probe_lines(readings);
    return readings;
}

void MeasurementStream::set_input_format(InputFormat input)
{
    chosen = input;
    reset();
}

void MeasurementStream::reset()
{
    buffer.clear();
    echo_carry.clear();
    dollar_overlong = false;
    framer.reset();
    framer.watch_dollar(chosen.automatic);
    recogniser.reset();
    current = chosen.automatic ? std::nullopt : std::optional<FormatId>(chosen.format);
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
        if (start < from) { // no "$": not a line, unless the end of one dropped
            overlong += std::exchange(dollar_overlong, false);
            continue;
        }
        dollar_overlong = false;
        if (end + 2 - start > max_line) {
            ++overlong; // too long to be a measurement
            continue;
        }
        readings.append(dollar_reading(start, end));
    }

    // Keep only what may still become a line: from the last "$" on, unless
    // it is already too long to be one.
    const int start = buffer.lastIndexOf('$');
    if (start < from || buffer.size() - start >= max_line) {
        dollar_overlong = dollar_overlong || start >= from;
        // The CR of a dropped line's end may meet its LF in the next chunk.
        const bool keep_cr = dollar_overlong && buffer.endsWith('\r');
        buffer.clear();
        if (keep_cr)
            buffer += '\r';
    } else {
        buffer.remove(0, start);
    }
}

void MeasurementStream::take_probe_lines(QVector<Reading> &readings)
{
    LineFramer::Line line;
    while (framer.next(buffer, &line)) {
        if (line.kind == LineFramer::Line::overlong) {
            ++overlong;
        } else if (line.kind == LineFramer::Line::text) {
            take_probe_line(line, readings);
        } else {
            // Automatic recognition meets a dollar line: dollar from here on.
            Reading reading = dollar_reading(line.start, line.end);
            reading.format_decided = true;
            readings.append(reading);
            current = FormatId::dollar;
            buffer.remove(0, line.next);
            framer.reset();
            take_lines(readings);
            return;
        }
    }
    buffer.remove(0, framer.settle(buffer));
}

static QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), int(text.size()));
}

// "1505340" with a shift of 3: "1505.340", exactly.
static QString shifted(std::string_view digits, int shift)
{
    QString text = latin1(digits);
    return text.insert(text.size() - shift, QLatin1Char('.'));
}

static void take_values(const LineValues &values, Reading &reading)
{
    reading.valid = true;
    reading.speed = values.speed;
    reading.speed_text = values.speed_shift > 0 ? shifted(values.speed_text, values.speed_shift)
                                                : latin1(values.speed_text);
    if (!values.temperature_text.empty()) {
        reading.has_temperature = true;
        reading.temperature = values.temperature;
        reading.temperature_text = latin1(values.temperature_text);
    }
    reading.pressure_dbar = values.pressure_dbar;
    reading.depth_m = values.depth_m;
    reading.conductivity = values.conductivity;
    reading.salinity = values.salinity;
    reading.density = values.density;
}

void MeasurementStream::take_probe_line(const LineFramer::Line &line, QVector<Reading> &readings)
{
    const std::string_view text(buffer.constData() + line.start, size_t(line.end - line.start));
    if (trim_blanks(text).empty())
        return; // nothing to show or count
    Reading reading;
    reading.line = from_utf8(text.data(), int(text.size())) + QLatin1String("\r\n");
    reading.raw = QByteArray(text.data(), line.next - line.start);
    if (!current) {
        current = recogniser.take(text);
        if (!current) {
            reading.recognised = false;
            ++unrecognised;
            readings.append(reading);
            return;
        }
        reading.format_decided = true;
    }
    reading.format = *current;
    LineValues values;
    const LineMatch match = line_format(*current)->read(text, values);
    if (match == LineMatch::yes || (match == LineMatch::bad_checksum && ignore_checksum)) {
        take_values(values, reading);
    } else if (match == LineMatch::bad_checksum) {
        reading.checksum_failed = true;
        ++checksums;
    } else {
        ++malformed;
    }
    readings.append(reading);
}

// The dollar framing's line from buffer's "$" at start to its "\r\n" at end.
Reading MeasurementStream::dollar_reading(int start, int end)
{
    Reading reading = parse(from_utf8(buffer.constData() + start + 1, end + 1 - start));
    reading.raw = QByteArray(buffer.constData() + start, end + 2 - start);
    if (!reading.valid)
        ++malformed;
    return reading;
}

bool MeasurementStream::is_dollar_line(const char *body, int size)
{
    if (size > 0 && body[0] == ' ')
        return true;
    // A letter where the speed would begin: parse() would refuse it (this
    // keeps the sentences "$PSSV", "$PSGDS" cheap).
    const int skip = size > 0 && starts_number(body[0]) ? 0 : 1;
    if (skip < size && std::isalpha(uchar(body[skip])))
        return false;
    const QString text = from_utf8(body, size) + QLatin1String("\r\n");
    return parse(text).valid;
}

// A finite number as QString::toDouble reads it. The plain decimals the
// instrument sends are read on their bytes, which gives the same double for
// them and costs a fraction; anything else, or a failure, goes to toDouble.
static bool is_number(const QString &field, double *value)
{
    char plain[64];
    int size = field.size();
    if (field.endsWith(QLatin1String("\r\n")))
        size -= 2;
    int i = 0;
    for (; i < size && i < int(sizeof plain); ++i) {
        const char16_t c = field.at(i).unicode();
        if (!starts_number(char(c)) || c > 0x7F)
            break;
        plain[i] = char(c);
    }
    if (i == size && read_decimal(std::string_view(plain, size_t(size)), value))
        return true;
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
