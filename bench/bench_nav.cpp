// What the navigation input costs in process: decoding a receiver's epochs
// (GGA, RMC, ZDA from gnss-sim), and a reading through the station with and
// without a fresh position and offset to stamp it with, recording its log.
// The cost of waking up for each epoch is gui_bench.sh --nav's to measure.
#include "benchsupport.h"
#include "clock.h"
#include "navdecoder.h"
#include "navigation.h"
#include "station.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class StepClock : public Clock
{
public:
    qint64 now_ms() const override { return now; }
    qint64 now = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
};

// Ten minutes of epochs at 10 Hz, one chunk an epoch as a serial read gives them.
QList<QByteArray> epochs(qint64 start_ms)
{
    QProcess sim;
    sim.start(GNSS_SIM,
              {"--stdout", "--fast", "--rate", "10", "--duration", "600", "--start-ms",
               QString::number(start_ms)});
    sim.waitForFinished(60000);
    QList<QByteArray> chunks;
    const QList<QByteArray> lines = sim.readAllStandardOutput().split('\n');
    for (int i = 0; i + 2 < lines.size(); i += 3)
        chunks << lines[i] + '\n' + lines[i + 1] + '\n' + lines[i + 2] + '\n';
    return chunks;
}

void decoding(const QList<QByteArray> &chunks, qint64 start_ms)
{
    NavDecoder decoder;
    const double before = thread_cpu_ms();
    for (int i = 0; i < chunks.size(); ++i)
        decoder.feed(chunks[i], start_ms + i * 100);
    const double us = (thread_cpu_ms() - before) * 1000.0 / chunks.size();
    std::printf("decoding: %d epochs of GGA, RMC and ZDA, %.1f us an epoch (%lld used)\n",
                int(chunks.size()), us, decoder.counts().used);
}

// Readings at 30 a second through the station, the log recording; with the
// receiver, an epoch every 100 ms is decoded too (its cost is counted).
double per_reading(bool with_nav, const QList<QByteArray> &chunks, const QString &folder)
{
    QSerialPort port;
    StepClock clock;
    Station station(&port, nullptr);
    station.set_clock(&clock);
    NavDecoder decoder;
    QString error;
    station.start_recording(folder + (with_nav ? "/nav.txt" : "/plain.txt"), &error);
    if (with_nav)
        station.navigation()->start(*NavSource::parse("udp:9", nullptr));
    const int readings = 100000;
    const double before = thread_cpu_ms();
    for (int i = 0; i < readings; ++i) {
        clock.now += 33;
        if (with_nav && i % 3 == 0) {
            NavInput *input = station.navigation()->input();
            const NavDecoder::Batch batch = input
                ? decoder.feed(chunks[i / 3 % chunks.size()], clock.now)
                : NavDecoder::Batch();
            for (const NavFix &fix : batch.fixes)
                input->nav_state().note_fix(fix, clock.now);
            input->clock_offset().measure(clock.now, clock.now - 40);
        }
        station.take(measurement_line(i));
        if (i % 30 == 0)
            station.tick();
    }
    const double us = (thread_cpu_ms() - before) * 1000.0 / readings;
    station.stop_recording(true);
    return us;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 start = StepClock().now;
    const QList<QByteArray> chunks = epochs(start);
    decoding(chunks, start);
    QTemporaryDir dir;
    for (int round = 0; round < 3; ++round) {
        const double plain = per_reading(false, chunks, dir.path());
        const double nav = per_reading(true, chunks, dir.path());
        std::printf("a reading through the station, recording: %.2f us without the receiver, "
                    "%.2f us with it (an epoch decoded every third reading included)\n",
                    plain, nav);
    }
    return 0;
}
