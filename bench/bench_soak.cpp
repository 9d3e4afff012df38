// Soak: a million measurement lines through the real reader slot and window,
// in-process, in chunks of varying size with some garbage between lines.
// The trend view keeps the last 360,000 readings, so memory and cost settle
// once 400,000 lines are in. Goals: resident memory at the end within 20 MB
// of that at 400,000 lines, and cost per line in the last tenth within 1.5
// times that of the fifth.
//
// A shared machine has slow phases that last tens of seconds, long enough to
// make a whole tenth of the run look dear. So every block of lines also times
// a fixed piece of reader-like work on fresh state (the 'machine' column: its
// cost against the start), and when the last tenth misses the goal the run
// goes on for up to two more tenths: a cost that grows with the lines fed
// stays, a slow phase passes.

#include "benchsupport.h"
#include "frmain.h"
#include "statuspane.h"
#include "windowfixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>

static const int line_count = 1000000;
static const int block_lines = 10000; // fed, then drained, between measurements
static const int tenth = line_count / 10;
static const int blocks_per_tenth = tenth / block_lines;
static const int settled_block = 4 * blocks_per_tenth - 1; // the block ending at 400,000 lines

// Totals at the end of a block. CPU time leaves out the reference work.
struct Mark
{
    double wall_ms;
    double cpu_ms;
    double slot_ms;
    double reference_ms;
    double rss_mb;
};

// Bytes that can never start a line: no "$". They may hold NULs, line ends
// and broken UTF-8, all of which the reader must get past.
static QByteArray garbage(QRandomGenerator &random)
{
    QByteArray bytes(random.bounded(1, 200), '\0');
    for (char &c : bytes) {
        c = char(random.bounded(256));
        if (c == '$')
            c = '#';
    }
    return bytes;
}

static QByteArray block_stream(int first, QRandomGenerator &random)
{
    QByteArray stream;
    for (int i = first; i < first + block_lines; ++i) {
        if (random.bounded(500) == 0)
            stream += garbage(random);
        stream += measurement_line(i);
    }
    return stream;
}

// Mostly large writes, as a busy line delivers them, with some small ones.
static int write_size(QRandomGenerator &random)
{
    return random.bounded(4) == 0 ? random.bounded(1, 101) : random.bounded(1, 4097);
}

// The same work every time: 200 lines into an emptied scratch pane and the
// framing of a fixed stream. Returns its GUI-thread CPU time in ms.
static double reference_work(QTextEdit &scratch, const QByteArray &stream)
{
    const double start = thread_cpu_ms();
    scratch.clear();
    for (int i = 0; i < 200; ++i)
        append_to_pane(&scratch, QString::fromLatin1(measurement_line(i)));
    MeasurementStream reader;
    reader.feed(stream);
    return thread_cpu_ms() - start;
}

// How much slower than at the start the machine ran over a span of blocks.
static double slowdown(const Mark &before, const Mark &after, int blocks, double reference_at_start)
{
    return (after.reference_ms - before.reference_ms) / blocks / reference_at_start;
}

static double cost_us(const Mark &before, const Mark &after, int lines)
{
    return (after.cpu_ms - before.cpu_ms) * 1000 / lines;
}

static void print_row(int lines_done, const Mark &before, const Mark &after, int lines,
                      double reference_at_start)
{
    std::printf("  %9d %8.1f %11.1f %12.1f %9.0f %9.2fx\n", lines_done, after.rss_mb,
                cost_us(before, after, lines), (after.slot_ms - before.slot_ms) * 1000 / lines,
                lines * 1000 / (after.wall_ms - before.wall_ms),
                slowdown(before, after, lines / block_lines, reference_at_start));
    std::fflush(stdout);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    WindowOnPty fixture;
    frmain &window = fixture.window;
    PtyPair &pty = fixture.pty;

    QTextEdit scratch;
    scratch.setReadOnly(true);
    scratch.setUndoRedoEnabled(false);
    QByteArray reference_stream;
    for (int i = 0; i < 10000; ++i)
        reference_stream += measurement_line(i);

    ReaderCounters counters;
    if (!open_and_count(fixture, counters)) {
        std::printf("bench_soak: could not open the port on %s\n", qPrintable(pty.slave_path()));
        return 1;
    }

    // The machine's speed at the start: the best of a few reference runs.
    double reference_at_start = reference_work(scratch, reference_stream);
    for (int i = 0; i < 5; ++i)
        reference_at_start = qMin(reference_at_start, reference_work(scratch, reference_stream));

    std::printf("bench_soak: %d lines through ReadMyCom_slot, the displays and the status pane"
                " (window shown offscreen, writes of 1..4096 bytes, garbage every ~500"
                " lines)\n",
                line_count);
    std::printf("  costs per line over the span ending at each row (CPU: GUI thread); 'machine':"
                " fixed reference work's cost against the start\n");
    std::printf("  %9s %8s %11s %12s %9s %10s\n", "lines", "RSS MB", "CPU us", "slot us", "lines/s",
                "machine");
    std::fflush(stdout);

    QRandomGenerator random(2024);
    QVector<Mark> marks; // one per block, at its end
    double reference_total = 0.0;
    QElapsedTimer wall;
    wall.start();
    const Mark start = {0.0, thread_cpu_ms(), 0.0, 0.0, resident_mb()};
    const auto tenth_cost = [&](int last_block) {
        const Mark &before
            = last_block < blocks_per_tenth ? start : marks.at(last_block - blocks_per_tenth);
        return cost_us(before, marks.at(last_block), tenth);
    };
    int total = line_count;
    for (int first = 0; first < total; first += block_lines) {
        const QByteArray stream = block_stream(first, random);
        for (int pos = 0; pos < stream.size();) {
            const int size = write_size(random);
            if (!pty.write(stream.mid(pos, size))) {
                std::printf("  FAIL: write to the pseudo-terminal failed\n");
                return 1;
            }
            pos += size;
            QCoreApplication::processEvents();
        }
        const int target = first + block_lines;
        if (!run_until([&] { return counters.shown >= target; }, 30000)) {
            std::printf("  FAIL: only %d of %d lines reached the display\n", counters.shown,
                        target);
            return 1;
        }
        reference_total += reference_work(scratch, reference_stream);
        marks.append({wall.nsecsElapsed() / 1e6, thread_cpu_ms() - reference_total,
                      counters.slot_ms, reference_total, resident_mb()});

        if (target == block_lines)
            print_row(target, start, marks.last(), block_lines, reference_at_start);
        if (target % tenth == 0) {
            const Mark &before
                = target == tenth ? start : marks.at(marks.size() - 1 - blocks_per_tenth);
            print_row(target, before, marks.last(), tenth, reference_at_start);
        }
        if (target == total && total < line_count + 2 * tenth
            && tenth_cost(marks.size() - 1) > 1.5 * tenth_cost(settled_block + blocks_per_tenth)) {
            total += tenth;
            std::printf("  (last tenth over the goal: feeding another %d lines to see whether"
                        " it stays)\n",
                        tenth);
        }
    }

    const Mark &first_block = marks.at(settled_block);
    const Mark &end = marks.last();
    const double first_cost = tenth_cost(settled_block + blocks_per_tenth);
    const double last_cost = tenth_cost(marks.size() - 1);
    const double growth = end.rss_mb - first_block.rss_mb;
    const bool memory_ok = growth <= 20.0;
    const bool cost_ok = last_cost <= 1.5 * first_cost;

    std::printf("  %d lines in %.0f s; status pane %d paragraphs, read_buffer %d characters\n",
                total, end.wall_ms / 1000, window.status_textedit->document()->blockCount(),
                int(window.read_buffer.size()));
    std::printf("  memory: %.1f MB after %d lines, %.1f MB at the end: %+.1f MB\n",
                first_block.rss_mb, 4 * tenth, end.rss_mb, growth);
    std::printf("  cost per line (GUI-thread CPU): fifth tenth %.1f us, last tenth %.1f us:"
                " %.2fx\n",
                first_cost, last_cost, last_cost / first_cost);
    std::printf("  %s: memory at the end within 20 MB of memory after %d lines\n",
                memory_ok ? "PASS" : "FAIL", 4 * tenth);
    std::printf("  %s: cost per line in the last tenth within 1.5x that of the fifth\n",
                cost_ok ? "PASS" : "FAIL");
    return memory_ok && cost_ok ? 0 : 1;
}
