#include "mqttlink.h"

#include "mqttpayload.h"

#include <chrono>

namespace {

constexpr int queue_limit = 10000; // events kept while the broker is away
constexpr int in_flight_limit = 20; // events in the library's hands at a time
constexpr int readings_limit = 1000; // readings waiting for the link's thread
constexpr qint64 goodbye_ms = 1000;

qint64 monotonic_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

template<typename Change> void MqttLink::hand_over(Change change)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        change();
    }
    waiter.wake();
}

MqttLink::MqttLink(const MqttConfig &config, const QByteArray &status, Changed changed)
    : changed(std::move(changed)), offline(mqtt_payload::status(false, config.station)),
      client(config, {[this](int rc) { connected(rc); }, [this](int mid) { published(mid); }}),
      outbox(queue_limit), status_payload(status), alarm_payload(mqtt_payload::alarms({})),
      backoff(config.first_retry_ms), worker([this, problem = config.problem()] { work(problem); })
{
}

MqttLink::~MqttLink()
{
    hand_over([this] { stop = true; });
    worker.join();
}

void MqttLink::publish_reading(const QByteArray &payload)
{
    if (up) // a reading is only worth anything now
        hand_over([&] {
            if (readings.size() < readings_limit)
                readings.append({payload, outbox.pushed()});
        });
}

void MqttLink::publish_event(const QByteArray &payload)
{
    hand_over([&] { outbox.push(payload); });
}

void MqttLink::set_alarms(const QByteArray &payload)
{
    hand_over([&] {
        alarm_payload = payload;
        alarms_due = true;
    });
}

void MqttLink::set_status(const QByteArray &payload)
{
    hand_over([&] {
        status_payload = payload;
        status_due = true;
    });
}

MqttLinkStatus MqttLink::status() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return snapshot();
}

MqttLinkStatus MqttLink::snapshot() const
{
    MqttLinkStatus copy = shared;
    copy.queued = outbox.size() + in_flight.size();
    copy.dropped = outbox.dropped();
    return copy;
}

void MqttLink::work(const QString &problem)
{
    const QString error = problem.isEmpty() ? client.prepare(offline) : problem;
    if (error.isEmpty() && waiter.ready())
        return run();
    set_state(MqttLinkStatus::State::error, error);
    while (!stopping())
        wait(-1);
}

void MqttLink::run()
{
    while (!stopping()) {
        const qint64 now = monotonic_ms();
        if (client.socket() < 0 && now >= next_attempt_ms)
            start_attempt(now);
        if (up)
            send_waiting();
        const qint64 until_attempt = next_attempt_ms - monotonic_ms();
        wait(client.socket() >= 0 ? 1000 : int(qBound<qint64>(0, until_attempt, 1000)));
        service();
    }
    say_goodbye();
}

void MqttLink::start_attempt(qint64 now_ms)
{
    refused = false;
    MqttLinkStatus::State state;
    QString error;
    {
        std::lock_guard<std::mutex> lock(mutex);
        ++shared.attempts;
        state = shared.state;
        error = shared.last_error;
    }
    // After a failure the state stays at error while the retries go on.
    if (state != MqttLinkStatus::State::error)
        set_state(MqttLinkStatus::State::connecting, error);
    const QString failure = client.connect();
    if (!failure.isEmpty()) {
        set_state(MqttLinkStatus::State::error, failure);
        next_attempt_ms = now_ms + backoff.next_delay();
    }
}

void MqttLink::connected(int rc)
{
    if (rc != 0) {
        refused = true;
        set_state(MqttLinkStatus::State::error, MqttClient::refusal_text(rc));
        return;
    }
    backoff.reset();
    {
        // A new session: the retained topics are stated afresh.
        std::lock_guard<std::mutex> lock(mutex);
        status_due = alarms_due = true;
    }
    up = true;
    set_state(MqttLinkStatus::State::connected, QString());
}

void MqttLink::published(int mid)
{
    if (mid == goodbye_mid)
        goodbye_acknowledged = true;
    std::lock_guard<std::mutex> lock(mutex);
    ++shared.published;
    in_flight.remove(mid);
}

void MqttLink::went_down(const QString &reason)
{
    const bool was_up = up.exchange(false);
    {
        // The library sends what it held unacknowledged again by itself
        // after reconnecting; the outbox need not wait for those.
        std::lock_guard<std::mutex> lock(mutex);
        in_flight.clear();
        readings.clear();
    }
    if (was_up)
        set_state(MqttLinkStatus::State::connecting, tr("与代理的连接中断：%1").arg(reason));
    else if (!refused)
        set_state(MqttLinkStatus::State::error, client.unreachable_text(reason));
    next_attempt_ms = monotonic_ms() + backoff.next_delay();
}

// Events go no more than in_flight_limit unacknowledged, so the rest waits
// in the bounded outbox rather than in the library's unbounded queue; those
// the library refuses go back to the outbox, in order. A status or alarm
// list it refuses goes again with the next connection.
void MqttLink::send_waiting()
{
    QByteArray status_now, alarms_now;
    QVector<MqttWaitingReading> readings_now;
    std::deque<QByteArray> events;
    qint64 first_event = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (status_due)
            status_now = status_payload;
        if (alarms_due)
            alarms_now = alarm_payload;
        status_due = alarms_due = false;
        readings_now.swap(readings);
        first_event = outbox.pushed() - outbox.size();
        events = outbox.take(in_flight_limit - in_flight.size());
    }
    for (const MqttSend &send :
         mqtt_batch(status_now, readings_now, events, first_event, alarms_now)) {
        const bool event = send.leaf == QLatin1String("event");
        if (event && events.empty())
            continue; // refused before: back in the outbox
        const int mid = client.publish(send.leaf, send.payload, send.qos, send.retain);
        if (!event)
            continue;
        std::lock_guard<std::mutex> lock(mutex);
        if (mid < 0) {
            outbox.put_back(events);
            events.clear();
        } else {
            in_flight.insert(mid);
            events.pop_front();
        }
    }
}

// Until the socket or a handed-over message needs attention, or timeout_ms.
void MqttLink::wait(int timeout_ms)
{
    const int socket = client.socket();
    waiter.wait(socket, socket >= 0 && client.want_write(), timeout_ms);
}

void MqttLink::service()
{
    QString reason;
    if (!client.service(&reason))
        went_down(reason);
}

// What waits goes first, then the offline status. The disconnect is clean
// only when the broker acknowledged that; otherwise the socket just closes
// and the broker sends the last will, which says the same.
void MqttLink::say_goodbye()
{
    const qint64 start = monotonic_ms();
    while (up && has_waiting_events() && monotonic_ms() < start + goodbye_ms / 2) {
        send_waiting();
        wait(50);
        service();
    }
    if (!up)
        return;
    goodbye_mid = client.publish(QStringLiteral("status"), offline, 1, true);
    while (up && !goodbye_acknowledged && monotonic_ms() < start + goodbye_ms) {
        wait(50);
        service();
    }
    if (goodbye_acknowledged)
        client.disconnect();
}

bool MqttLink::has_waiting_events() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return outbox.size() + in_flight.size() > 0;
}

void MqttLink::set_state(MqttLinkStatus::State state, const QString &error)
{
    bool differs;
    MqttLinkStatus now;
    {
        std::lock_guard<std::mutex> lock(mutex);
        differs = shared.state != state || shared.last_error != error;
        shared.state = state;
        shared.last_error = error;
        now = snapshot();
    }
    if (differs && changed)
        changed(now);
}

bool MqttLink::stopping() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return stop;
}
