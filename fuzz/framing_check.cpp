#include "framing_check.h"

#include "blockaverage.h"
#include "measurementstream.h"

#include <QString>
#include <QStringList>
#include <QTextCodec>
#include <QtMath>

namespace {

// What the reader would make of a stream.
struct Outcome
{
    QString text; // everything decoded, in order
    QStringList lines;
    QVector<bool> valid;
    QStringList averages; // every change of the average display
    qint64 malformed = 0;
};

[[noreturn]] void fail(const char *what, const char *feeding)
{
    qFatal("framing check failed: %s (%s)", what, feeding);
}

// Decoded text goes to the displays and the pane as it is: no NUL, and no
// surrogate without its partner, even when a chunk ends inside a character.
void check_text(const QString &text, const char *feeding)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isNull())
            fail("NUL in decoded text", feeding);
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate())
                fail("high surrogate without its low half", feeding);
            ++i;
        } else if (c.isLowSurrogate()) {
            fail("low surrogate without its high half", feeding);
        }
    }
}

void check_reading(const Reading &reading, const char *feeding)
{
    const QString &line = reading.line;
    if (line.size() > MeasurementStream::max_line || !line.startsWith(QLatin1String("$ ")))
        fail("line too long or without its marker", feeding);
    if (line.indexOf(QLatin1Char('$'), 1) >= 0)
        fail("line holds a second marker", feeding);
    if (line.indexOf(QLatin1String("\r\n")) >= 0 && !line.endsWith(QLatin1String("\r\n")))
        fail("line holds a line end before its last", feeding);
    if (reading.valid && (!qIsFinite(reading.speed) || !qIsFinite(reading.temperature)))
        fail("valid reading that is not finite", feeding);
}

// Feeds the stream in chunks of the given lengths, repeated; no lengths
// means one chunk.
Outcome feed(const FramingInput &input, const QVector<int> &lengths, const char *feeding)
{
    MeasurementStream stream;
    BlockAverage average;
    average.restart(input.points);
    Outcome out;
    int pos = 0;
    int next = 0;
    do {
        const int length
            = lengths.isEmpty() ? input.stream.size() : lengths.at(next++ % lengths.size());
        const QByteArray chunk = input.stream.mid(pos, length);
        pos += chunk.size();
        QString text;
        for (const Reading &reading : stream.feed(chunk, &text)) {
            check_reading(reading, feeding);
            out.lines.append(reading.line);
            out.valid.append(reading.valid);
            QString shown;
            if (reading.valid && average.add(reading.speed, reading.speed_text, &shown))
                out.averages.append(shown);
        }
        check_text(text, feeding);
        out.text += text;
        if (stream.pending().size() >= MeasurementStream::max_line)
            fail("pending text beyond max_line", feeding);
    } while (pos < input.stream.size());
    out.malformed = stream.malformed_count();
    return out;
}

// The lines of a whole stream by plain index arithmetic on its bytes: each
// line end closes the bytes since the last "$" before it.
QStringList reference_lines(QByteArray bytes)
{
    bytes.replace('\0', QByteArray());
    QStringList lines;
    int from = 0;
    for (int end; (end = bytes.indexOf("\r\n", from)) >= 0; from = end + 2) {
        const int start = end > 0 ? bytes.lastIndexOf('$', end - 1) : -1;
        if (start >= from && end + 2 - start <= MeasurementStream::max_line) {
            QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
            const QByteArray line = bytes.mid(start + 1, end + 1 - start);
            const QString body
                = QTextCodec::codecForMib(106)->toUnicode(line.constData(), line.size(), &state);
            lines.append(MeasurementStream::parse(body).line);
        }
    }
    return lines;
}

// Valid UTF-8 must decode exactly as Qt's own decoder has it, NULs dropped.
void compare_with_qt(const QByteArray &stream, const QString &text)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    QString qt_text
        = QTextCodec::codecForName("UTF-8")->toUnicode(stream.constData(), stream.size(), &state);
    if (state.invalidChars != 0 || state.remainingChars != 0)
        return;
    qt_text.remove(QChar(0));
    if (qt_text != text)
        fail("valid UTF-8 decoded differently from Qt's decoder", "whole");
}

// A broken sequence cut between chunks may give the echo a different number
// of replacement characters; that is all that may differ.
QString without_replacements(QString text)
{
    return text.remove(QChar(QChar::ReplacementCharacter));
}

void compare(const Outcome &whole, const Outcome &other, const char *feeding)
{
    if (without_replacements(other.text) != without_replacements(whole.text))
        fail("decoded text differs from feeding it whole", feeding);
    if (other.lines != whole.lines || other.valid != whole.valid)
        fail("lines differ from feeding it whole", feeding);
    if (other.averages != whole.averages || other.malformed != whole.malformed)
        fail("averages or malformed count differ from feeding it whole", feeding);
}

} // namespace

FramingInput parse_framing_input(const uint8_t *data, size_t size)
{
    FramingInput input;
    if (size == 0)
        return input;
    input.points = data[0] & 7;
    const size_t count = qMin<size_t>((data[0] >> 3) & 7, size - 1);
    for (size_t i = 1; i <= count; ++i)
        input.chunk_lengths.append(int(data[i]) + 1);
    const size_t start = 1 + count;
    input.stream = QByteArray(reinterpret_cast<const char *>(data + start), int(size - start));
    return input;
}

int check_framing(const uint8_t *data, size_t size)
{
    const FramingInput input = parse_framing_input(data, size);

    const Outcome whole = feed(input, {}, "whole");
    compare_with_qt(input.stream, whole.text);
    if (whole.lines != reference_lines(input.stream))
        fail("lines differ from the reference framing", "whole");

    compare(whole, feed(input, input.chunk_lengths, "chunks"), "chunks");
    // A byte at a time is slow for long inputs; the chunk lengths can be one
    // byte too, for those.
    if (input.stream.size() <= 1024)
        compare(whole, feed(input, {1}, "byte by byte"), "byte by byte");

    return whole.lines.size();
}
