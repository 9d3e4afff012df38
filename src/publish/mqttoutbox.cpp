#include "mqttoutbox.h"

void MqttOutbox::push(const QByteArray &payload)
{
    waiting.push_back(payload);
    ++pushed_count;
    trim();
}

void MqttOutbox::put_back(const std::deque<QByteArray> &payloads)
{
    waiting.insert(waiting.begin(), payloads.begin(), payloads.end());
    trim();
}

std::deque<QByteArray> MqttOutbox::take(int count)
{
    std::deque<QByteArray> taken;
    while (count-- > 0 && !waiting.empty()) {
        taken.push_back(waiting.front());
        waiting.pop_front();
    }
    return taken;
}

void MqttOutbox::trim()
{
    while (int(waiting.size()) > limit) {
        waiting.pop_front();
        ++lost;
    }
}
