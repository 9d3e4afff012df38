#ifndef MQTTLINKSTATUS_H
#define MQTTLINKSTATUS_H

#include <QMetaType>
#include <QString>

// How the link to the broker stands, as one copy the window can show.
struct MqttLinkStatus
{
    // error: the last attempt failed or the broker refused us; retries go on
    // quietly in the background and do not flip the state back to
    // connecting, so one failure is reported once, not at every retry.
    enum class State { disconnected, connecting, connected, error };

    State state = State::disconnected;
    qint64 published = 0; // messages the broker took (QoS 1: acknowledged)
    qint64 queued = 0; // events waiting or not yet acknowledged
    qint64 dropped = 0; // events the full queue pushed out, oldest first
    qint64 attempts = 0; // connection attempts so far
    QString last_error; // empty once connected

    // The word the window shows for a state.
    static QString state_text(State state);
};

Q_DECLARE_METATYPE(MqttLinkStatus)

#endif
