#include "framing_check.h"

#include "blockaverage.h"
#include "measurementstream.h"

#include <QRegularExpression>
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
    QByteArrayList raws; // a LF after its CR left out: a chunk may end between them
    QStringList kinds; // format, whether decided with it, recognised, checksum
    qint64 malformed = 0;
    QVector<qint64> counts; // checksum failures, not recognised, overlong
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

void check_dollar_reading(const Reading &reading, const char *feeding)
{
    // The pane's line has a blank after its "$" even when the raw one has not.
    const QString &line = reading.line;
    if (line.size() > MeasurementStream::max_line + 1 || !line.startsWith(QLatin1String("$ ")))
        fail("line too long or without its marker", feeding);
    if (line.indexOf(QLatin1Char('$'), 1) >= 0)
        fail("line holds a second marker", feeding);
    if (line.indexOf(QLatin1String("\r\n")) >= 0 && !line.endsWith(QLatin1String("\r\n")))
        fail("line holds a line end before its last", feeding);
    if (!reading.raw.startsWith('$') || !reading.raw.endsWith("\r\n"))
        fail("raw dollar line without its marker or its line end", feeding);
    // One or two fields, each a finite number as QString::toDouble has it.
    bool numbers = reading.shown();
    for (const QString &field : reading.fields) {
        bool ok = false;
        numbers = numbers && qIsFinite(field.toDouble(&ok)) && ok;
    }
    if (numbers != reading.valid || (numbers && reading.speed != reading.fields.at(0).toDouble())
        || (numbers && reading.has_temperature
            && reading.temperature != reading.fields.at(1).toDouble()))
        fail("fields read otherwise than QString::toDouble reads them", feeding);
}

// A line framed by its line end holds none before it; its values are the
// texts shown.
void check_probe_reading(const Reading &reading, const char *feeding)
{
    const QByteArray &raw = reading.raw;
    const int end = raw.endsWith("\r\n") ? raw.size() - 2 : raw.size() - 1;
    if (end < 0 || (raw.at(end) != '\r' && raw.at(end) != '\n'))
        fail("raw line without its line end", feeding);
    if (raw.left(end).contains('\r') || raw.left(end).contains('\n'))
        fail("raw line holds a line end before its last", feeding);
    if (reading.line.count(QLatin1Char('\n')) != 1 || !reading.line.endsWith(QLatin1String("\r\n")))
        fail("pane line not ended by its one line end", feeding);
    if (reading.valid
        != (reading.recognised && !reading.checksum_failed && !reading.speed_text.isEmpty()))
        fail("a reading without a speed, or before the format is known", feeding);
    if (!reading.valid)
        return;
    if (reading.speed != reading.speed_text.toDouble()
        || (reading.has_temperature && reading.temperature != reading.temperature_text.toDouble()))
        fail("value that differs from its text", feeding);
    if (reading.format == FormatId::sv_mm
        && !QRegularExpression("^\\d{4}\\.\\d{3}$").match(reading.speed_text).hasMatch())
        fail("mm/s not shifted to m/s", feeding);
}

void check_reading(const Reading &reading, const char *feeding)
{
    if (reading.raw.size() > MeasurementStream::max_line)
        fail("raw line too long", feeding);
    if (reading.recognised && reading.format == FormatId::dollar)
        check_dollar_reading(reading, feeding);
    else
        check_probe_reading(reading, feeding);
    if (reading.valid && (!qIsFinite(reading.speed) || !qIsFinite(reading.temperature)))
        fail("valid reading that is not finite", feeding);
}

QString kind(const Reading &reading)
{
    return QString::asprintf(
        "%s%s%s%s", format_name(reading.format), reading.format_decided ? " decided" : "",
        reading.recognised ? "" : " unrecognised", reading.checksum_failed ? " checksum" : "");
}

QByteArray without_lf_after_cr(QByteArray raw)
{
    if (raw.endsWith("\r\n"))
        raw.chop(1);
    return raw;
}

// Feeds the stream in chunks of the given lengths, repeated; no lengths
// means one chunk.
Outcome feed(const FramingInput &input, const QVector<int> &lengths, const char *feeding)
{
    MeasurementStream stream;
    if (input.format != stream.input_format())
        stream.set_input_format(input.format);
    stream.set_ignore_checksums(input.ignore_checksums);
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
            out.raws.append(without_lf_after_cr(reading.raw));
            out.kinds.append(kind(reading));
            QString shown;
            if (reading.valid && average.add(reading.speed, reading.speed_text, &shown))
                out.averages.append(shown);
        }
        check_text(text, feeding);
        out.text += text;
        // A line framed by its end may wait at max_line, for its lone CR.
        const bool dollar = stream.format() == FormatId::dollar;
        if (stream.pending().size() > MeasurementStream::max_line - (dollar ? 1 : 0))
            fail("pending text beyond max_line", feeding);
    } while (pos < input.stream.size());
    out.malformed = stream.malformed_count();
    out.counts = {stream.checksum_count(), stream.unrecognised_count(), stream.overlong_count()};
    return out;
}

QString decoded(const QByteArray &bytes)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), bytes.size(), &state);
}

// The lines of a whole stream framed by their line ends: CR LF, LF, or CR,
// but a CR at the very end only while no CR LF was seen. Blank lines are
// no lines; overlong ones are dropped.
QStringList reference_probe_lines(const QByteArray &bytes)
{
    QStringList lines;
    bool crlf_seen = false;
    for (int start = 0, i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        const bool crlf = c == '\r' && bytes.mid(i + 1, 1) == "\n";
        if (c == '\r' && i + 1 == bytes.size() && crlf_seen)
            break;
        crlf_seen = crlf_seen || crlf;
        const QByteArray line = bytes.mid(start, i - start);
        i += crlf ? 1 : 0;
        const bool blank = QByteArray(line).replace(' ', "").replace('\t', "").isEmpty();
        if (i + 1 - start <= MeasurementStream::max_line && !blank)
            lines.append(decoded(line) + QLatin1String("\r\n"));
        start = i + 1;
    }
    return lines;
}

// The lines of a whole stream by plain index arithmetic on its bytes: each
// line end closes the bytes since the last "$" before it; or as above.
QStringList reference_lines(const FramingInput &input)
{
    QByteArray bytes = input.stream;
    bytes.replace('\0', QByteArray());
    if (input.format.format != FormatId::dollar)
        return reference_probe_lines(bytes);
    QStringList lines;
    int from = 0;
    for (int end; (end = bytes.indexOf("\r\n", from)) >= 0; from = end + 2) {
        const int start = end > 0 ? bytes.lastIndexOf('$', end - 1) : -1;
        if (start >= from && end + 2 - start <= MeasurementStream::max_line)
            lines.append(
                MeasurementStream::parse(decoded(bytes.mid(start + 1, end + 1 - start))).line);
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
    if (other.raws != whole.raws || other.kinds != whole.kinds || other.counts != whole.counts)
        fail("raw lines, formats or counts differ from feeding it whole", feeding);
}

} // namespace

FramingInput parse_framing_input(const uint8_t *data, size_t size)
{
    FramingInput input;
    if (size == 0)
        return input;
    input.points = data[0] & 7;
    size_t next = 1;
    if ((data[0] & 0x40) && size > 1) {
        const int mode = data[next] & 7;
        input.format = mode == 0 ? InputFormat() : InputFormat::fixed(FormatId(mode));
        input.ignore_checksums = data[next++] & 8;
    }
    const size_t count = qMin<size_t>((data[0] >> 3) & 7, size - next);
    for (size_t i = 0; i < count; ++i)
        input.chunk_lengths.append(int(data[next++]) + 1);
    const size_t start = next;
    input.stream = QByteArray(reinterpret_cast<const char *>(data + start), int(size - start));
    return input;
}

int check_framing(const uint8_t *data, size_t size)
{
    const FramingInput input = parse_framing_input(data, size);

    const Outcome whole = feed(input, {}, "whole");
    compare_with_qt(input.stream, whole.text);
    // Automatic recognition turns from one framing to the other: its lines
    // are checked against other feedings only.
    if (!input.format.automatic && whole.lines != reference_lines(input))
        fail("lines differ from the reference framing", "whole");

    compare(whole, feed(input, input.chunk_lengths, "chunks"), "chunks");
    // A byte at a time is slow for long inputs; the chunk lengths can be one
    // byte too, for those.
    if (input.stream.size() <= 1024)
        compare(whole, feed(input, {1}, "byte by byte"), "byte by byte");

    return whole.lines.size();
}
