// Latency from the last byte of a line written on the pseudo-terminal to the
// real-time display showing it, at 30 lines a second for 20 s. A separate
// thread writes the lines on time, whatever the GUI thread is doing.
#include "benchsupport.h"
#include "frmain.h"
#include "windowfixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

static const int lines_per_second = 30;
static const int line_count = 20 * lines_per_second;

// The speed field, which is what the real-time display shows.
static QString speed_field(const QByteArray &line)
{
    return QString::fromLatin1(line.split(' ').at(1));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    WindowOnPty fixture;
    frmain &window = fixture.window;
    PtyPair &pty = fixture.pty;

    if (!fixture.open()) {
        std::printf("bench_latency: could not open the port on %s\n", qPrintable(pty.slave_path()));
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    std::mutex lock;
    QHash<QString, qint64> written_at; // speed text -> ns on clock
    QVector<double> latencies_ms;
    QObject::connect(window.speed_lineedit, &QLineEdit::textChanged, [&](const QString &text) {
        // Timed after taking the lock: a writer preempted between its write
        // and its note of the time then makes the figure larger, never smaller.
        std::lock_guard<std::mutex> guard(lock);
        const qint64 now = clock.nsecsElapsed();
        const auto found = written_at.constFind(text);
        if (found != written_at.constEnd())
            latencies_ms.append((now - found.value()) / 1e6);
    });

    bool write_failed = false;
    std::thread writer([&] {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < line_count; ++i) {
            std::this_thread::sleep_until(
                start + i * std::chrono::microseconds(1000000) / lines_per_second);
            const QByteArray line = measurement_line(i);
            // Under the lock, so the display cannot take the line before its
            // time is noted: the moment the write returned, with the last
            // byte on the line.
            std::lock_guard<std::mutex> guard(lock);
            if (!pty.write(line))
                write_failed = true;
            written_at.insert(speed_field(line), clock.nsecsElapsed());
        }
    });

    run_until(
        [&] {
            std::lock_guard<std::mutex> guard(lock);
            return latencies_ms.size() >= line_count;
        },
        (line_count / lines_per_second + 10) * 1000);
    writer.join();
    QCoreApplication::processEvents();

    std::lock_guard<std::mutex> guard(lock);
    std::printf("bench_latency: last byte written on the pty master to speed_lineedit showing"
                " the line, %d lines at %d lines/s\n",
                line_count, lines_per_second);
    if (latencies_ms.isEmpty() || write_failed) {
        std::printf("  FAIL: %s\n",
                    write_failed ? "a write failed" : "no line reached the display");
        return 1;
    }
    std::sort(latencies_ms.begin(), latencies_ms.end());
    const auto at = [&](double fraction) {
        return latencies_ms.at(qMin(latencies_ms.size() - 1, int(fraction * latencies_ms.size())));
    };
    std::printf("  lines shown %d of %d\n", int(latencies_ms.size()), line_count);
    std::printf("  median %.2f ms, 90th percentile %.2f ms, 99th percentile %.2f ms,"
                " max %.2f ms (min %.2f ms)\n",
                at(0.5), at(0.9), at(0.99), latencies_ms.last(), latencies_ms.first());
    return latencies_ms.size() == line_count ? 0 : 1;
}
