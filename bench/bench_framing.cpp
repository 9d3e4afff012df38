// Lines per second through the reader's framing alone (no window): the
// decoder, the line framer, the field split and the block average, over a
// realistic stream cut into chunks of various sizes.
#include "benchsupport.h"
#include "measurement.h"

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

static int run(const QByteArray &stream, const QVector<int> &lengths)
{
    ChunkDecoder decoder;
    LineFramer framer;
    QString buffer;
    QString line;
    double sum = 0.0;
    unsigned int count = 0;
    int lines = 0;
    int next = 0;
    for (int pos = 0; pos < stream.size();) {
        const QByteArray chunk = stream.mid(pos, lengths.at(next++ % lengths.size()));
        pos += chunk.size();
        framer.append(buffer, decoder.decode(chunk));
        while (framer.take_line(buffer, &line)) {
            const QStringList fields = split_fields(line);
            QString shown;
            if (fields.size() <= 2)
                average_step(sum, count, 5, fields.at(0), &shown);
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

    std::printf("bench_framing: %d lines (%d bytes) through ChunkDecoder, LineFramer,"
                " split_fields and average_step\n",
                line_count, int(stream.size()));
    for (const Pattern &pattern : patterns) {
        QElapsedTimer timer;
        timer.start();
        const int lines = run(stream, pattern.lengths);
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("  chunks of %-22s %9.0f lines/s  %6.2f us/line%s\n", pattern.name,
                    lines / seconds, seconds * 1e6 / lines,
                    lines == line_count ? "" : "  (LINES LOST)");
    }
    return 0;
}
