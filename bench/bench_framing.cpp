// Lines per second through the reader's framing alone (no window): the
// decoder, the line framer, the field split and the block average, over a
// realistic stream cut into chunks of various sizes. Then each probe format
// through the stream alone, chosen by name and recognised, against the
// dollar format's cost on the same chunks.
#include "benchsupport.h"
#include "blockaverage.h"
#include "measurementlog.h"
#include "measurementstream.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QVector>

#include <algorithm>
#include <cstdio>

static const int line_count = 300000;

// Chunk lengths to cut the stream by; a single entry means a fixed size.
struct Pattern
{
    const char *name;
    QVector<int> lengths;
};

static QVector<int> random_lengths(int count, int maximum)
{
    QRandomGenerator random(1);
    QVector<int> lengths;
    for (int i = 0; i < count; ++i)
        lengths.append(random.bounded(1, maximum + 1));
    return lengths;
}

// With a log, every valid reading also becomes a CSV row, as while recording.
static int run(const QByteArray &stream, const QVector<int> &lengths, MeasurementLog *log)
{
    MeasurementStream reader;
    BlockAverage average;
    QString shown;
    int lines = 0;
    int next = 0;
    qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int pos = 0; pos < stream.size();) {
        const QByteArray chunk = stream.mid(pos, lengths.at(next++ % lengths.size()));
        pos += chunk.size();
        for (const Reading &reading : reader.feed(chunk)) {
            if (reading.valid)
                average.add(reading.speed, reading.speed_text, &shown);
            if (log) {
                log->add(++now,
                         {reading.speed_text.trimmed(), reading.temperature_text.trimmed(),
                          shown.trimmed(), "ok", QString(), "0"});
                log->flush_if_due(now);
            }
            ++lines;
        }
    }
    return lines;
}

// One line of each format, its values changing with number (checksums are
// not computed: the sentences are read with checksums ignored).
static QByteArray probe_line(FormatId format, int number)
{
    const QByteArray speed = QByteArray::number(1400.0 + (number % 100000) / 1000.0, 'f', 3);
    const QByteArray temperature = QByteArray::number(10.0 + (number % 2000) / 100.0, 'f', 3);
    const QByteArray depth = QByteArray::number((number % 5000) / 100.0, 'f', 3);
    switch (format) {
    case FormatId::dollar:
        return measurement_line(number);
    case FormatId::sv:
        return " " + speed + "\r\n";
    case FormatId::sv_mm:
        return QByteArray::number(1400000 + number % 100000) + "\r\n";
    case FormatId::p_t_sv:
        return depth + " " + temperature + " " + speed + "\r\n";
    case FormatId::tagged:
        return speed + " M/SEC " + depth + " M " + temperature + " C 0042.142 MS/CM\r\n";
    case FormatId::psgds:
        return "$PSGDS,ADSVP," + depth + "," + speed + "," + temperature + ",1025.80*00\r\n";
    case FormatId::pssv:
        return "$PSSV, " + speed + ", " + depth + ",M*00\r\n";
    case FormatId::t_c_s_sv:
        return temperature + ",42.14200,0035.0000, " + speed + "\r\n";
    }
    return QByteArray();
}

// Microseconds of CPU a line through the stream alone (the machine may be
// shared); lines read as measurements in *valid.
static double stream_cost(const QByteArray &stream, const QVector<int> &lengths, InputFormat input,
                          int *valid)
{
    MeasurementStream reader;
    reader.set_input_format(input);
    reader.set_ignore_checksums(true);
    int next = 0;
    *valid = 0;
    const double start_ms = thread_cpu_ms();
    for (int pos = 0; pos < stream.size();) {
        const QByteArray chunk = stream.mid(pos, lengths.at(next++ % lengths.size()));
        pos += chunk.size();
        for (const Reading &reading : reader.feed(chunk))
            *valid += reading.valid;
    }
    return (thread_cpu_ms() - start_ms) * 1e3 / line_count;
}

// Each format chosen by name and recognised, best of three runs each, as a
// ratio to the dollar format's cost on the same chunks.
static void formats_table()
{
    const QVector<Pattern> patterns = {
        {"64 bytes", {64}},
        {"4096 bytes", {4096}},
        {"random 1..4096 bytes", random_lengths(10007, 4096)},
    };
    std::printf("\nthe stream alone, CPU us/line (best of 3) and as a ratio to dollar's on the "
                "same chunks:\n"
                "  %-10s %-22s %8s %8s %8s %8s\n",
                "format", "chunks", "by name", "ratio", "auto", "ratio");
    QVector<double> dollar(patterns.size());
    for (int f = 0; f < format_count; ++f) {
        const FormatId format = FormatId(f);
        QByteArray stream;
        for (int i = 0; i < line_count; ++i)
            stream += probe_line(format, i);
        for (int p = 0; p < patterns.size(); ++p) {
            double us[2] = {1e9, 1e9};
            int valid[2] = {0, 0};
            for (int run = 0; run < 3; ++run) {
                us[0] = std::min(us[0],
                                 stream_cost(stream, patterns[p].lengths,
                                             InputFormat::fixed(format), &valid[0]));
                us[1] = std::min(
                    us[1], stream_cost(stream, patterns[p].lengths, InputFormat(), &valid[1]));
            }
            if (f == 0)
                dollar[p] = us[0];
            std::printf("  %-10s %-22s %8.3f %8.2f %8.3f %8.2f%s\n", format_name(format),
                        patterns[p].name, us[0], us[0] / dollar[p], us[1], us[1] / dollar[p],
                        valid[0] == line_count && valid[1] >= line_count - 2 ? "" : "  LINES LOST");
        }
    }
}

int main(int argc, char **argv)
{
    // --formats: only the table of the formats; --dollar: all but it.
    const QByteArray only = argc > 1 ? argv[1] : "";
    if (only == "--formats") {
        formats_table();
        return 0;
    }
    QByteArray stream;
    for (int i = 0; i < line_count; ++i)
        stream += measurement_line(i);

    const QVector<Pattern> patterns = {
        {"1 byte", {1}},
        {"19 bytes (one line)", {19}},
        {"64 bytes", {64}},
        {"512 bytes", {512}},
        {"4096 bytes", {4096}},
        {"random 1..256 bytes", random_lengths(10007, 256)},
        {"random 1..4096 bytes", random_lengths(10007, 4096)},
    };

    std::printf("bench_framing: %d lines (%d bytes) through the stream and the block average,"
                " then also into the CSV measurement log\n",
                line_count, int(stream.size()));
    QTemporaryDir dir;
    for (const Pattern &pattern : patterns) {
        double us[2];
        for (int with_log = 0; with_log < 2; ++with_log) {
            MeasurementLog log;
            log.start(dir.filePath(QString("%1-%2.csv").arg(pattern.name).arg(with_log)), 0);
            QElapsedTimer timer;
            timer.start();
            const int lines = run(stream, pattern.lengths, with_log ? &log : nullptr);
            us[with_log] = timer.nsecsElapsed() / 1e3 / lines;
            if (lines != line_count)
                std::printf("  LINES LOST with chunks of %s\n", pattern.name);
        }
        std::printf("  chunks of %-22s %6.2f us/line, with the CSV log %6.2f (+%.2f us)\n",
                    pattern.name, us[0], us[1], us[1] - us[0]);
    }
    if (only != "--dollar")
        formats_table();
    return 0;
}
