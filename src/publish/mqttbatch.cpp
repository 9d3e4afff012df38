#include "mqttbatch.h"

QVector<MqttSend> mqtt_batch(const QByteArray &status, const QVector<MqttWaitingReading> &readings,
                             const std::deque<QByteArray> &events, qint64 first_event,
                             const QByteArray &alarms)
{
    QVector<MqttSend> batch;
    if (!status.isEmpty())
        batch.append({QStringLiteral("status"), status, 1, true});
    size_t next = 0;
    const auto events_until = [&](qint64 number) {
        for (; next < events.size() && first_event + qint64(next) < number; ++next)
            batch.append({QStringLiteral("event"), events[next], 1, false});
    };
    for (const MqttWaitingReading &reading : readings) {
        events_until(reading.events_before);
        batch.append({QStringLiteral("reading"), reading.payload, 0, false});
    }
    events_until(first_event + qint64(events.size()));
    if (!alarms.isEmpty())
        batch.append({QStringLiteral("alarm"), alarms, 1, true});
    return batch;
}
