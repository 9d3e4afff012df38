#ifndef MEASUREMENTSTREAM_H
#define MEASUREMENTSTREAM_H

#include "formatrecogniser.h"
#include "lineframer.h"
#include "probeformat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// One line from the instrument and what it means.
struct Reading
{
    // As the status pane shows it: for dollar "$ " and the fields with their
    // "\r\n"; for the other formats the line as received, ended by "\r\n".
    QString line;
    QStringList fields; // dollar: split at every single blank; the line end stays on the last
    // As received, for the displays and the outputs; in m/s (sv_mm's mm/s
    // moved by three decimal places); blanks around them left out except for
    // dollar's, which stay as before.
    QString speed_text, temperature_text;
    double speed = 0, temperature = 0;
    bool has_temperature = false;
    // A measurement: for dollar one or two fields, each a finite number; for
    // the others a line of the format, its checksum right or ignored.
    bool valid = false;
    bool shown() const
    {
        return format != FormatId::dollar || !recognised || fields.size() == 1
            || fields.size() == 2;
    }

    // The line exactly as received, with its own line end (dollar: from its
    // "$"; NUL bytes dropped).
    QByteArray raw;
    // What the format carries besides; NaN when it does not.
    double pressure_dbar = LineValues::none, depth_m = LineValues::none; // depth from feet too
    double conductivity = LineValues::none, salinity = LineValues::none; // mS/cm, PSU
    double density = LineValues::none; // kg/m3
    FormatId format = FormatId::dollar; // the format the line was read as, if recognised
    // False while automatic recognition has not decided: the line is shown
    // and counted (unrecognised_count), never a reading.
    bool recognised = true;
    bool checksum_failed = false; // a sentence whose checksum did not match: counted apart
    // Automatic recognition decided the format with this line (or a dollar
    // line switched back): format is the new one.
    bool format_decided = false;
};

// Only Qt's shared data and plain values: moved as bytes when a vector grows.
Q_DECLARE_TYPEINFO(Reading, Q_MOVABLE_TYPE);

// Chunks from the serial port in, readings out, in order. A line runs from
// the last "$" before its "\r\n", so a line cut off by a "$" never swallows
// the good line after it. Lines are found among the bytes and each is decoded
// whole, so broken UTF-8 reads the same however the chunks fall (Qt's
// stateful decoder can turn a broken sequence cut between chunks into a
// different number of replacement characters, even none, which would join
// the digits around it). NUL bytes are dropped.
//
// The other formats are framed by their line end (CR LF, LF or CR alone; see
// LineFramer) and read by their ProbeFormat. The input format is one format
// or automatic: the dollar framing is watched and its first dollar line
// decides at once; any other format is decided by FormatRecogniser (three
// lines in a row), the lines before that being shown but not read. Once
// decided, a line of another format is malformed, but a dollar line always
// switches back to dollar. A new stream reads dollar alone, as before.
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
    // Lines that were not a measurement of one or two finite numbers, or
    // not a line of the format read.
    qint64 malformed_count() const { return malformed; }
    // Sentences whose checksum did not match (not among the malformed).
    qint64 checksum_count() const { return checksums; }
    // Lines seen while automatic recognition had not decided.
    qint64 unrecognised_count() const { return unrecognised; }
    // Lines longer than max_line, dropped.
    qint64 overlong_count() const { return overlong; }

    // Sets the input format and starts afresh as reset() does.
    void set_input_format(InputFormat input);
    InputFormat input_format() const { return chosen; }
    // The format lines are read in: the one chosen, or the one decided;
    // none while automatic recognition has not decided.
    std::optional<FormatId> format() const { return current; }
    // Sentences are read whatever their checksum (some probes send wrong ones).
    void set_ignore_checksums(bool ignore) { ignore_checksum = ignore; }
    bool ignore_checksums() const { return ignore_checksum; }
    // After opening the port and after each reconnection: drops the line
    // being received and, in automatic mode, the format decided. The counts
    // go on.
    void reset();

    static Reading parse(const QString &body);
    // Whether the dollar framing's line "$" body "\r\n" is the dollar
    // instrument's: a blank after the "$", or a line parse() takes.
    static bool is_dollar_line(const char *body, int size);

private:
    void take_lines(QVector<Reading> &readings);
    Reading dollar_reading(int start, int end);
    void take_probe_lines(QVector<Reading> &readings);
    void take_probe_line(const LineFramer::Line &line, QVector<Reading> &readings);
    QByteArray whole_characters(const QByteArray &bytes);

    QByteArray buffer;
    QByteArray echo_carry; // a character cut off at the end of the last chunk
    qint64 malformed = 0;
    qint64 checksums = 0;
    qint64 unrecognised = 0;
    qint64 overlong = 0;
    bool dollar_overlong = false; // a dollar line grew too long: counted at its end

    InputFormat chosen = InputFormat::fixed(FormatId::dollar);
    std::optional<FormatId> current = FormatId::dollar;
    bool ignore_checksum = false;
    LineFramer framer{max_line};
    FormatRecogniser recogniser;
};

#endif
