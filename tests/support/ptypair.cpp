#include "ptypair.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include "../../tools/pty_open.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

PtyPair::PtyPair(QObject *parent) : QObject(parent)
{
    clock.start();
    // Raw from the start, so nothing written before the program opens the
    // port is echoed back or translated.
    char name[PATH_MAX];
    master_fd = pty_open(name, sizeof name);
    if (master_fd < 0)
        return;
    path = QString::fromLocal8Bit(name);

    notifier = new QSocketNotifier(master_fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &PtyPair::read_master);
}

PtyPair::~PtyPair()
{
    close_master();
}

bool PtyPair::write(const QByteArray &bytes)
{
    qint64 done = 0;
    while (master_fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(master_fd, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EAGAIN) {
            QTest::qWait(1);
        } else {
            return false;
        }
    }
    return master_fd >= 0;
}

void PtyPair::close_master()
{
    if (master_fd < 0)
        return;
    delete notifier;
    notifier = nullptr;
    ::close(master_fd);
    master_fd = -1;
}

termios PtyPair::slave_settings() const
{
    // On Linux the master reports the settings of its slave.
    termios settings = {};
    tcgetattr(master_fd, &settings);
    return settings;
}

QByteArray PtyPair::received() const
{
    QByteArray all;
    for (const Arrival &arrival : arrivals)
        all += arrival.bytes;
    return all;
}

bool PtyPair::wait_for_bytes(int count, int timeout_ms)
{
    QElapsedTimer timer;
    timer.start();
    while (received().size() < count) {
        if (timer.elapsed() > timeout_ms)
            return false;
        QTest::qWait(5);
    }
    return true;
}

void PtyPair::read_master()
{
    char data[4096];
    for (;;) {
        const ssize_t n = ::read(master_fd, data, sizeof data);
        if (n > 0) {
            arrivals.append({QByteArray(data, int(n)), clock.elapsed()});
            continue;
        }
        if (n < 0 && errno == EIO) {
            // No one has the slave open: the master reports a hang-up until
            // someone does, so look again a little later instead of spinning.
            notifier->setEnabled(false);
            QTimer::singleShot(20, this, [this] {
                if (notifier)
                    notifier->setEnabled(true);
            });
        }
        return;
    }
}
