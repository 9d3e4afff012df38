#ifndef PTYPAIR_H
#define PTYPAIR_H

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVector>

#include <termios.h>

class QSocketNotifier;

// A pseudo-terminal whose master side stands in for the instrument. The
// program opens slave_path(); everything it writes is collected here with the
// time each piece arrived, while the test runs the event loop.
class PtyPair : public QObject
{
    Q_OBJECT

public:
    struct Arrival
    {
        QByteArray bytes;
        qint64 msecs; // since the pair was opened
    };

    explicit PtyPair(QObject *parent = nullptr);
    ~PtyPair() override;

    bool is_open() const { return master_fd >= 0; }
    QString slave_path() const { return path; }

    bool write(const QByteArray &bytes);
    // Hangs up: the program sees the device vanish.
    void close_master();

    // The slave's line settings as the program left them.
    termios slave_settings() const;

    QByteArray received() const;
    QVector<Arrival> arrivals;
    void clear_received() { arrivals.clear(); }
    // Runs the event loop until count bytes have arrived or timeout passes.
    bool wait_for_bytes(int count, int timeout_ms = 5000);
    qint64 elapsed() const { return clock.elapsed(); }

private:
    void read_master();

    int master_fd = -1;
    QString path;
    QSocketNotifier *notifier = nullptr;
    QElapsedTimer clock;
};

#endif
