// Automatic recognition against the simulator on a pseudo-terminal: for each
// format, runs that start mid-line with junk, read as the terminal reads the
// port. Counts the runs recognised within three complete valid lines and the
// runs that ever took another format; then, for each format, a run of it, a
// reconnection (reset) and a run of the next format, which must be
// recognised again just as soon.
#include "measurementstream.h"

#include <QByteArrayList>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

static const int runs = 20;
static const int lines_per_run = 12;

// One simulator run: everything its port gave until it hung up, as read.
static QByteArrayList simulator_run(FormatId format, int seed)
{
    static const char *const line_ends[] = {"crlf", "lf", "cr"};
    QProcess sim;
    sim.start(INSTRUMENT_SIM,
              {"--format", format_name(format), "--rate", "500", "--lines",
               QString::number(lines_per_run), "--seed", QString::number(seed), "--start-mid-line",
               "--line-end", line_ends[seed % 3]});
    sim.waitForReadyRead(5000);
    const QByteArray path = sim.readLine().trimmed();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
    QByteArrayList chunks;
    pollfd pfd = {fd, POLLIN, 0};
    char chunk[4096];
    for (ssize_t n = 1; fd >= 0 && n > 0 && poll(&pfd, 1, 5000) > 0;) {
        if ((n = ::read(fd, chunk, sizeof chunk)) > 0)
            chunks << QByteArray(chunk, int(n));
    }
    ::close(fd);
    sim.waitForFinished(5000);
    return chunks;
}

// Whether line (as received) reads as a measurement of format.
static bool valid_line(FormatId format, const QByteArray &raw)
{
    if (format == FormatId::dollar)
        return false; // its first line decides: never seen before
    QByteArray line = raw;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    LineValues values;
    return line_format(format)->read({line.constData(), size_t(line.size())}, values)
        == LineMatch::yes;
}

struct Outcome
{
    int valid_lines = 0; // of the true format, up to the one that decided
    bool decided = false;
    bool wrong = false; // another format decided at any time
};

static Outcome recognise(MeasurementStream &stream, FormatId format, const QByteArrayList &chunks)
{
    Outcome out;
    for (const QByteArray &chunk : chunks) {
        for (const Reading &reading : stream.feed(chunk)) {
            if (!reading.recognised)
                out.valid_lines += valid_line(format, reading.raw);
            if (!reading.format_decided)
                continue;
            out.wrong = out.wrong || reading.format != format;
            if (!out.decided)
                out.valid_lines += reading.valid || reading.checksum_failed;
            out.decided = true;
        }
    }
    return out;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("bench_recognition: %d simulator runs per format of %d lines, each starting "
                "mid-line with junk (line ends CR LF, LF, CR in turn)\n\n"
                "  %-10s %-14s %-11s %-16s %s\n",
                runs, lines_per_run, "format", "within 3 lines", "wrong", "valid lines needed",
                "after a reconnection, the next format");
    bool all_good = true;
    for (int f = 0; f < format_count; ++f) {
        const FormatId format = FormatId(f);
        int within = 0, wrong = 0, most = 0;
        for (int run = 0; run < runs; ++run) {
            MeasurementStream stream;
            stream.set_input_format(InputFormat());
            const Outcome out = recognise(stream, format, simulator_run(format, 100 * f + run));
            within += out.decided && out.valid_lines <= 3;
            wrong += out.wrong;
            most = std::max(most, out.valid_lines);
        }
        // A reconnection to a probe of the next format.
        const FormatId next = FormatId((f + 1) % format_count);
        MeasurementStream stream;
        stream.set_input_format(InputFormat());
        const Outcome first = recognise(stream, format, simulator_run(format, 7));
        stream.reset();
        const Outcome second = recognise(stream, next, simulator_run(next, 8));
        const bool again = first.decided && !first.wrong && second.decided && !second.wrong
            && second.valid_lines <= 3 && stream.format() == next;
        std::printf("  %-10s %2d/%-11d %-11d at most %-8d %s: %s\n", format_name(format), within,
                    runs, wrong, most, format_name(next), again ? "recognised" : "NOT RECOGNISED");
        all_good = all_good && within == runs && wrong == 0 && again;
    }
    std::printf("\n%s\n",
                all_good ? "all recognised within 3 valid lines, never the wrong format"
                         : "SOME RUNS FAILED");
    return all_good ? 0 : 1;
}
