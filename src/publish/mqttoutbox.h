#ifndef MQTTOUTBOX_H
#define MQTTOUTBOX_H

#include <QByteArray>

#include <deque>

// The events waiting for the broker, in the order they happened. Bounded, so
// a broker away for days cannot eat the memory: when full, the oldest goes.
class MqttOutbox
{
public:
    explicit MqttOutbox(int capacity = 10000) : limit(capacity) { }

    void push(const QByteArray &payload);
    // Back to the front, in their order, when they could not be handed over.
    void put_back(const std::deque<QByteArray> &payloads);
    // Up to count of the oldest, removed from the box.
    std::deque<QByteArray> take(int count);

    int size() const { return int(waiting.size()); }
    // How many were ever pushed; the oldest waiting is number pushed() - size().
    qint64 pushed() const { return pushed_count; }
    qint64 dropped() const { return lost; }

private:
    void trim();

    std::deque<QByteArray> waiting;
    int limit;
    qint64 lost = 0;
    qint64 pushed_count = 0;
};

#endif
