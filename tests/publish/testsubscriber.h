#ifndef TESTSUBSCRIBER_H
#define TESTSUBSCRIBER_H

#include <QList>
#include <QString>

#include <atomic>
#include <mutex>

struct mosquitto;

// A second client that reads what the publisher sent, on libmosquitto's own
// thread; constructed, it has subscribed (or given up after 5 s). With an id
// its session outlives a broker restart (the broker keeps what arrives
// meanwhile), and it reconnects by itself.
class TestSubscriber
{
public:
    struct Message
    {
        QString topic;
        QByteArray payload;
        bool retained;
    };

    TestSubscriber(quint16 port, const QString &filter, const QString &id = {});
    ~TestSubscriber();

    // Until count messages arrived, or false after timeout_ms.
    bool wait_count(int count, int timeout_ms = 5000);
    QList<Message> messages() const;

private:
    mosquitto *mosq = nullptr;
    QByteArray topic_filter;
    mutable std::mutex mutex;
    QList<Message> received;
    std::atomic<bool> subscribed{false};
};

#endif
