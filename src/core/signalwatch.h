#ifndef SIGNALWATCH_H
#define SIGNALWATCH_H

#include <QObject>

// Turns the system's requests to close the program from outside (the
// desktop session ending, Ctrl+C, a closed terminal, a service stop) into a
// Qt signal on the event loop. Each system has its own implementation under
// platform/: on POSIX, SIGTERM, SIGINT and SIGHUP through a self-pipe whose
// handler only writes one byte.
class SignalWatch : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatch(QObject *parent = nullptr);
    ~SignalWatch() override;

signals:
    // The system's number for the request (on POSIX, the signal's).
    void received(int signal_number);
};

#endif
