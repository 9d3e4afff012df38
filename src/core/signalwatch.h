#ifndef SIGNALWATCH_H
#define SIGNALWATCH_H

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (the desktop session ending, Ctrl+C, a
// closed terminal) into a Qt signal on the event loop, through a self-pipe:
// the handler only writes one byte.
class SignalWatch : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatch(QObject *parent = nullptr);
    ~SignalWatch() override;

signals:
    void received(int signal_number);

private:
    void read_pipe();
    QSocketNotifier *notifier = nullptr;
};

#endif
