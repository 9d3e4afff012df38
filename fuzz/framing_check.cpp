#include "framing_check.h"

#include "measurement.h"

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
    QVector<QStringList> fields;
    QStringList averages; // every change of the average display
    double sum = 0.0;
    unsigned int count = 0;
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

// A line is what follows "$" and one character, up to the first "\r\n". When
// that character is the "\r" of the line end, the line is "\n".
void check_line(const QString &line, const char *feeding)
{
    if (line.size() + 2 > LineFramer::max_line)
        fail("line longer than max_line", feeding);
    if (line == QLatin1String("\n"))
        return;
    if (!line.endsWith(QLatin1String("\r\n")))
        fail("line does not end with \\r\\n", feeding);
    if (line.indexOf(QLatin1String("\r\n")) != line.size() - 2)
        fail("line holds a line end before its last", feeding);
}

void take_lines(LineFramer &framer, QString &buffer, unsigned int points, Outcome &out,
                const char *feeding)
{
    QString line;
    while (framer.take_line(buffer, &line)) {
        check_line(line, feeding);
        out.lines.append(line);
        const QStringList fields = split_fields(line);
        out.fields.append(fields);
        if (fields.size() > 2)
            continue;
        QString shown;
        if (average_step(out.sum, out.count, points, fields.at(0), &shown))
            out.averages.append(shown);
        if (points < 2 && (out.count != 0 || out.sum != 0.0))
            fail("average block used with fewer than two points", feeding);
        if (points >= 2 && out.count >= points)
            fail("average block not emptied when full", feeding);
    }
    if (buffer.size() > LineFramer::max_line)
        fail("buffer beyond max_line after all lines were taken", feeding);
}

// Feeds the stream in chunks of the given lengths, repeated; no lengths
// means one chunk.
Outcome feed(const FramingInput &input, const QVector<int> &lengths, const char *feeding)
{
    ChunkDecoder decoder;
    LineFramer framer;
    QString buffer;
    Outcome out;
    int pos = 0;
    int next = 0;
    do {
        const int length
            = lengths.isEmpty() ? input.stream.size() : lengths.at(next++ % lengths.size());
        const QByteArray chunk = input.stream.mid(pos, length);
        pos += chunk.size();
        const QString text = decoder.decode(chunk);
        check_text(text, feeding);
        out.text += text;
        framer.append(buffer, text);
        take_lines(framer, buffer, input.points, out, feeding);
    } while (pos < input.stream.size());
    return out;
}

// The lines of a whole decoded stream, found by plain index arithmetic
// instead of the framer's buffer surgery.
QStringList reference_lines(const QString &text)
{
    QStringList lines;
    int pos = 0;
    for (;;) {
        const int start = text.indexOf(QLatin1Char('$'), pos);
        if (start < 0)
            break;
        const int end = text.indexOf(QLatin1String("\r\n"), start);
        if (end < 0)
            break;
        if (end - start + 2 <= LineFramer::max_line)
            lines.append(text.mid(start + 2, end - start));
        pos = end + 2;
    }
    return lines;
}

// Between NUL bytes, valid UTF-8 must decode exactly as Qt's own decoder has
// it. (A NUL cuts a character short, so the pieces are decoded apart.)
void compare_with_qt(const QByteArray &stream, const QString &text)
{
    QTextCodec *codec = QTextCodec::codecForName("UTF-8");
    QString qt_text;
    for (const QByteArray &piece : stream.split('\0')) {
        QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
        qt_text += codec->toUnicode(piece.constData(), piece.size(), &state);
        if (state.invalidChars != 0 || state.remainingChars != 0)
            return;
    }
    if (qt_text != text)
        fail("valid UTF-8 decoded differently from Qt's decoder", "whole");
}

bool same_value(double a, double b)
{
    return a == b || (qIsNaN(a) && qIsNaN(b));
}

void compare(const Outcome &whole, const Outcome &other, const char *feeding)
{
    if (other.text != whole.text)
        fail("decoded text differs from feeding it whole", feeding);
    if (other.lines != whole.lines)
        fail("lines differ from feeding it whole", feeding);
    if (other.fields != whole.fields)
        fail("fields differ from feeding it whole", feeding);
    if (other.averages != whole.averages || other.count != whole.count
        || !same_value(other.sum, whole.sum))
        fail("averages differ from feeding it whole", feeding);
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
    if (whole.lines != reference_lines(whole.text))
        fail("lines differ from the reference framing", "whole");

    compare(whole, feed(input, input.chunk_lengths, "chunks"), "chunks");
    // A byte at a time rescans the buffer for every byte; keep it for
    // inputs small enough to stay fast. (The chunk lengths can be one byte
    // too, for longer inputs.)
    if (input.stream.size() <= 1024)
        compare(whole, feed(input, {1}, "byte by byte"), "byte by byte");

    return whole.lines.size();
}
