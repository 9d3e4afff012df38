#include "benchsupport.h"

#include "frmain.h"
#include "trendmodel.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <time.h>
#include <unistd.h>

double resident_mb()
{
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return 0.0;
    return fields.at(1).toDouble() * sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}

double thread_cpu_ms()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

QByteArray measurement_line(int number)
{
    const double speed = 1400.0 + (number % 100000) / 1000.0;
    const double temperature = 10.0 + (number % 2000) / 100.0;
    return "$ " + QByteArray::number(speed, 'f', 3) + " " + QByteArray::number(temperature, 'f', 3)
        + "\r\n";
}

bool run_until(const std::function<bool()> &done, int timeout_ms)
{
    // A ticking timer so the wait for events always wakes up to look again.
    QTimer tick;
    tick.start(5);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeout_ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

bool open_and_count(WindowOnPty &fixture, ReaderCounters &counters)
{
    frmain &window = fixture.window;
    counters.clock.start();
    // The displays change once per frame; the trend model counts every
    // valid line as it is taken.
    const TrendModel *model = window.findChild<TrendModel *>();
    // Connected before and after the window's own connection, these two
    // bracket every run of the reader slot.
    QObject::connect(window.my_com, &QSerialPort::readyRead,
                     [&] { counters.slot_start = counters.clock.nsecsElapsed(); });
    if (!fixture.open())
        return false;
    QObject::connect(window.my_com, &QSerialPort::readyRead, [&, model] {
        counters.slot_ms += (counters.clock.nsecsElapsed() - counters.slot_start) / 1e6;
        ++counters.slot_runs;
        counters.shown = int(model->sequence());
    });
    return true;
}
