// Lines per second through the real reader slot, with the three displays and
// the status pane, in-process: the window is shown and its port opened on a
// pseudo-terminal whose master side stands in for the instrument.
#include "benchsupport.h"
#include "frmain.h"
#include "windowfixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>

#include <cstdio>

static const int warm_up_lines = 6000; // fills the pane up to its cap
static const int lines_per_pattern = 30000;

// Writes lines in writes of lines_per_write lines (0: random 1..3000 bytes),
// letting the event loop run after every write so the reader drains them.
static bool feed(PtyPair &pty, ReaderCounters &counters, int first, int count, int lines_per_write)
{
    QByteArray stream;
    for (int i = first; i < first + count; ++i)
        stream += measurement_line(i);
    const int line_size = measurement_line(first).size();
    QRandomGenerator random(static_cast<quint32>(first));
    const int target = counters.shown + count;
    for (int pos = 0; pos < stream.size();) {
        const int size
            = lines_per_write > 0 ? lines_per_write * line_size : random.bounded(1, 3001);
        if (!pty.write(stream.mid(pos, size)))
            return false;
        pos += size;
        QCoreApplication::processEvents();
    }
    return run_until([&] { return counters.shown >= target; }, 30000);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    WindowOnPty fixture;
    PtyPair &pty = fixture.pty;

    ReaderCounters counters;
    if (!open_and_count(fixture, counters)) {
        std::printf("bench_reader: could not open the port on %s\n", qPrintable(pty.slave_path()));
        return 1;
    }

    int next_line = 0;
    if (!feed(pty, counters, next_line, warm_up_lines, 0)) {
        std::printf("bench_reader: warm-up lines did not all reach the display\n");
        return 1;
    }
    next_line += warm_up_lines;

    std::printf("bench_reader: %d lines per pattern through ReadMyCom_slot (displays and"
                " status pane, pane already at its cap), window shown offscreen\n",
                lines_per_pattern);
    const struct
    {
        const char *name;
        int lines_per_write;
    } patterns[] = {{"1 line per write", 1},
                    {"8 lines per write", 8},
                    {"64 lines per write", 64},
                    {"random 1..3000 bytes", 0}};
    bool all_shown = true;
    for (const auto &pattern : patterns) {
        const ReaderCounters before = counters;
        const double cpu_before = thread_cpu_ms();
        QElapsedTimer timer;
        timer.start();
        const bool ok = feed(pty, counters, next_line, lines_per_pattern, pattern.lines_per_write);
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double cpu_ms = thread_cpu_ms() - cpu_before;
        next_line += lines_per_pattern;
        all_shown = all_shown && ok;

        const int lines = counters.shown - before.shown;
        const int runs = counters.slot_runs - before.slot_runs;
        const double slot_ms = counters.slot_ms - before.slot_ms;
        std::printf("  %-22s %7.0f lines/s end to end, %6.1f us/line in the slot,"
                    " %6.1f us/line GUI-thread CPU, %5.1f lines per slot run%s\n",
                    pattern.name, lines / seconds, slot_ms * 1000 / lines, cpu_ms * 1000 / lines,
                    double(lines) / qMax(runs, 1), ok ? "" : "  (NOT ALL LINES SHOWN)");
    }
    return all_shown ? 0 : 1;
}
