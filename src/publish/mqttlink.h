#ifndef MQTTLINK_H
#define MQTTLINK_H

#include "mqttbatch.h"
#include "mqttclient.h"
#include "mqttconfig.h"
#include "mqttlinkstatus.h"
#include "mqttoutbox.h"
#include "reconnectbackoff.h"
#include "socketwait.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QSet>
#include <QVector>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// The connection to the broker on a thread of its own, so name lookups,
// connects, TLS handshakes and writes never hold up the caller: every public
// call hands its message over and returns. The broker is only written to;
// nothing is subscribed.
//
// Topics under sv/<station>/: status (retained; the last will says
// offline), alarm (retained), event (QoS 1, kept while the broker is away),
// reading (QoS 0, dropped while the broker is away).
class MqttLink
{
    Q_DECLARE_TR_FUNCTIONS(MqttLink)

public:
    using Changed = std::function<void(const MqttLinkStatus &)>;

    // status: the retained online status until set_status() replaces it.
    // changed runs on the link's thread each time the state or the error
    // text changes, with the status as it was then.
    MqttLink(const MqttConfig &config, const QByteArray &status, Changed changed);
    // Sends what waits and the offline status, for at most about a second.
    ~MqttLink();

    MqttLink(const MqttLink &) = delete;
    MqttLink &operator=(const MqttLink &) = delete;

    void publish_reading(const QByteArray &payload);
    void publish_event(const QByteArray &payload);
    void set_alarms(const QByteArray &payload);
    void set_status(const QByteArray &payload);

    MqttLinkStatus status() const;

private:
    void work(const QString &problem);
    void run();
    void start_attempt(qint64 now_ms);
    void connected(int rc);
    void published(int mid);
    void went_down(const QString &reason);
    void send_waiting();
    void wait(int timeout_ms);
    void service();
    void say_goodbye();
    bool has_waiting_events() const;
    MqttLinkStatus snapshot() const; // with mutex held
    void set_state(MqttLinkStatus::State state, const QString &error);
    bool stopping() const;
    // Changes the shared state, then wakes the link's thread.
    template<typename Change> void hand_over(Change change);

    const Changed changed;
    const QByteArray offline;
    MqttClient client;
    SocketWait waiter;

    // Shared with the caller's thread.
    mutable std::mutex mutex;
    MqttLinkStatus shared;
    MqttOutbox outbox;
    QVector<MqttWaitingReading> readings;
    QByteArray status_payload, alarm_payload;
    bool status_due = true, alarms_due = true;
    QSet<int> in_flight; // events handed to the library, not yet acknowledged
    bool stop = false;
    std::atomic<bool> up{false};

    // The link's thread only.
    ReconnectBackoff backoff;
    qint64 next_attempt_ms = 0;
    bool refused = false; // the broker refused the attempt under way
    int goodbye_mid = -1;
    bool goodbye_acknowledged = false;

    std::thread worker; // last: starts once everything above is ready
};

#endif
