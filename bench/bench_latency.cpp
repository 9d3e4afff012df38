// Latency from the last byte of a line written on the pseudo-terminal to the
// real-time display showing it or a newer line: lone lines (5 a second) and
// 30 lines a second, 20 s each. A separate thread writes the lines on time,
// whatever the GUI thread is doing.
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

static const int seconds = 20;

// The speed field, which is what the real-time display shows.
static QString speed_field(const QByteArray &line)
{
    return QString::fromLatin1(line.split(' ').at(1));
}

// Lines first..first+count at lines_per_second; false if one was never shown.
static bool measure(WindowOnPty &fixture, int first, int lines_per_second)
{
    const int count = seconds * lines_per_second;
    QElapsedTimer clock;
    clock.start();
    std::mutex lock;
    QHash<QString, int> number_of; // speed text -> line number
    QVector<qint64> written_at; // ns on clock, by line number - first
    QVector<double> latencies_ms;
    int unseen = 0; // the first line not shown yet, nor a newer one
    // Timed after taking the lock: a writer preempted between its write and
    // its note of the time then makes the figure larger, never smaller.
    const QMetaObject::Connection shown = QObject::connect(
        fixture.window.speed_lineedit, &QLineEdit::textChanged, [&](const QString &text) {
            std::lock_guard<std::mutex> guard(lock);
            const qint64 now = clock.nsecsElapsed();
            const int newest = number_of.value(text, -1);
            for (; unseen <= newest; ++unseen)
                latencies_ms.append((now - written_at.at(unseen)) / 1e6);
        });

    bool write_failed = false;
    std::thread writer([&] {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) {
            std::this_thread::sleep_until(
                start + i * std::chrono::microseconds(1000000) / lines_per_second);
            const QByteArray line = measurement_line(first + i);
            // Under the lock, so the display cannot take the line before its
            // time is noted: the moment the write returned.
            std::lock_guard<std::mutex> guard(lock);
            if (!fixture.pty.write(line))
                write_failed = true;
            number_of.insert(speed_field(line), i);
            written_at.append(clock.nsecsElapsed());
        }
    });
    run_until(
        [&] {
            std::lock_guard<std::mutex> guard(lock);
            return latencies_ms.size() >= count;
        },
        (seconds + 10) * 1000);
    writer.join();
    QCoreApplication::processEvents();
    QObject::disconnect(shown);

    std::lock_guard<std::mutex> guard(lock);
    std::printf("  %d lines/s: ", lines_per_second);
    if (latencies_ms.isEmpty() || write_failed) {
        std::printf("FAIL: %s\n", write_failed ? "a write failed" : "no line reached the display");
        return false;
    }
    std::sort(latencies_ms.begin(), latencies_ms.end());
    const auto at = [&](double fraction) {
        return latencies_ms.at(qMin(latencies_ms.size() - 1, int(fraction * latencies_ms.size())));
    };
    std::printf("%d of %d shown; median %.2f ms, 90th percentile %.2f ms, 99th percentile %.2f ms,"
                " max %.2f ms\n",
                int(latencies_ms.size()), count, at(0.5), at(0.9), at(0.99), latencies_ms.last());
    return latencies_ms.size() == count;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    WindowOnPty fixture;
    if (!fixture.open()) {
        std::printf("bench_latency: could not open the port on %s\n",
                    qPrintable(fixture.pty.slave_path()));
        return 1;
    }
    std::printf("bench_latency: last byte written on the pty master to speed_lineedit showing"
                " the line or a newer one, %d s a rate\n",
                seconds);
    const bool lone = measure(fixture, 0, 5);
    const bool steady = measure(fixture, 1000, 30);
    return lone && steady ? 0 : 1;
}
