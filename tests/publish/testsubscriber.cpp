#include "testsubscriber.h"

#include <QtTest>

#include <mosquitto.h>

TestSubscriber::TestSubscriber(quint16 port, const QString &filter, const QString &id)
    : topic_filter(filter.toUtf8())
{
    mosquitto_lib_init();
    const QByteArray name = id.toUtf8();
    mosq = mosquitto_new(id.isEmpty() ? nullptr : name.constData(), id.isEmpty(), this);
    mosquitto_connect_callback_set(mosq, [](mosquitto *mosq, void *self, int rc) {
        if (rc == 0)
            mosquitto_subscribe(mosq, nullptr,
                                static_cast<TestSubscriber *>(self)->topic_filter.constData(), 1);
    });
    mosquitto_subscribe_callback_set(mosq, [](mosquitto *, void *self, int, int, const int *) {
        static_cast<TestSubscriber *>(self)->subscribed = true;
    });
    mosquitto_message_callback_set(mosq, [](mosquitto *, void *self, const mosquitto_message *m) {
        auto *subscriber = static_cast<TestSubscriber *>(self);
        std::lock_guard<std::mutex> lock(subscriber->mutex);
        subscriber->received.append(
            {QString::fromUtf8(m->topic),
             QByteArray(static_cast<const char *>(m->payload), m->payloadlen), m->retain});
    });
    mosquitto_reconnect_delay_set(mosq, 1, 1, false);
    mosquitto_connect_async(mosq, "127.0.0.1", port, 30);
    mosquitto_loop_start(mosq);
    (void)QTest::qWaitFor([this] { return subscribed.load(); }, 5000);
}

TestSubscriber::~TestSubscriber()
{
    mosquitto_disconnect(mosq);
    mosquitto_loop_stop(mosq, false);
    mosquitto_destroy(mosq);
}

bool TestSubscriber::wait_count(int count, int timeout_ms)
{
    return QTest::qWaitFor([this, count] { return messages().size() >= count; }, timeout_ms);
}

QList<TestSubscriber::Message> TestSubscriber::messages() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return received;
}
