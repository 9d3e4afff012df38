// Lines per second through the reader's framing alone (no window): the
// decoder, the line framer, the field split and the block average, over a
// realistic stream cut into chunks of various sizes.
#include "benchsupport.h"
#include "blockaverage.h"
#include "measurementlog.h"
#include "measurementstream.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QVector>

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

int main()
{
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
    return 0;
}
