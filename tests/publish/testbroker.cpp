#include "testbroker.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <unistd.h>

TestBroker::TestBroker(const QStringList &extra_config) : extra(extra_config)
{
    QTcpServer probe; // a port free now, given back for the broker
    probe.listen(QHostAddress::LocalHost, 0);
    listen_port = probe.serverPort();
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

TestBroker::~TestBroker()
{
    stop();
}

bool TestBroker::start()
{
    QFile config(dir.filePath(QStringLiteral("mosquitto.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    QStringList lines{QStringLiteral("listener %1 127.0.0.1").arg(listen_port),
                      QStringLiteral("persistence_location %1/").arg(dir.path()),
                      QStringLiteral("log_type error")};
    if (geteuid() == 0)
        lines << QStringLiteral("user root"); // else it drops to a user that cannot read dir
    lines << extra;
    config.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    config.close();
    process.start(QStringLiteral("/usr/sbin/mosquitto"), {QStringLiteral("-c"), config.fileName()});
    if (!process.waitForStarted(5000))
        return false;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000 && process.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, listen_port);
        if (probe.waitForConnected(200))
            return true;
        QThread::msleep(20);
    }
    return false;
}

void TestBroker::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}
