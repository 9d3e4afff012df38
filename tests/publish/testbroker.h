#ifndef TESTBROKER_H
#define TESTBROKER_H

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A mosquitto of the test's own on a free loopback port, with a config
// written for it; stopped and gone with the object.
class TestBroker
{
public:
    explicit TestBroker(const QStringList &extra_config = {QStringLiteral("allow_anonymous true")});
    ~TestBroker();

    void add_config(const QString &line) { extra << line; }
    // Starts it and waits until it takes connections.
    bool start();
    // Stops it the way a service stop does (it saves its persistence).
    void stop();

    quint16 port() const { return listen_port; }
    // For a password file or the persistence database.
    QString file(const QString &name) const { return dir.filePath(name); }

private:
    QTemporaryDir dir;
    QProcess process;
    QStringList extra;
    quint16 listen_port = 0;
};

#endif
