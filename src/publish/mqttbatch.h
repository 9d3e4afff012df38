#ifndef MQTTBATCH_H
#define MQTTBATCH_H

#include <QByteArray>
#include <QString>
#include <QVector>

#include <deque>

// One message for the broker.
struct MqttSend
{
    QString leaf; // the topic under sv/<station>/
    QByteArray payload;
    int qos;
    bool retain;
};

struct MqttWaitingReading
{
    QByteArray payload;
    qint64 events_before; // how many events had been handed over before it
};

// What the link sends in one turn, in the order it was handed over: the
// status first, each reading after the events raised before it and before
// those raised after it (an alarm the reading set off), the alarm list last.
// events are numbered from first_event on; an empty status or alarm list is
// not sent.
QVector<MqttSend> mqtt_batch(const QByteArray &status, const QVector<MqttWaitingReading> &readings,
                             const std::deque<QByteArray> &events, qint64 first_event,
                             const QByteArray &alarms);

#endif
