#ifndef TESTSUBSCRIBER_H
#define TESTSUBSCRIBER_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <mutex>

struct mosquitto;
struct mosquitto_message;

// A second client that reads what the publisher sent, on libmosquitto's own
// thread. With an id its session outlives a broker restart (the broker keeps
// what arrives meanwhile), and it reconnects by itself.
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

    // Until it is subscribed, or false after timeout_ms.
    bool wait_subscribed(int timeout_ms = 5000);
    // Until count messages arrived, or false after timeout_ms.
    bool wait_count(int count, int timeout_ms = 5000);
    QList<Message> messages() const;

private:
    static void on_connect(mosquitto *, void *self, int rc);
    static void on_subscribe(mosquitto *, void *self, int, int, const int *);
    static void on_message(mosquitto *, void *self, const mosquitto_message *message);

    mosquitto *mosq = nullptr;
    QByteArray topic_filter;
    mutable std::mutex mutex;
    QList<Message> received;
    bool subscribed = false;
};

#endif
