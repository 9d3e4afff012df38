// What the station tells a broker: the publisher it feeds, the retained
// status and whether the broker has been out of reach for too long.
#include "station.h"

#include "alarmmonitor.h"
#include "mqttconfig.h"
#include "mqttpublisher.h"
#include "navigation.h"

#include <QCoreApplication>

void Station::watch_broker()
{
    const qint64 now = now_ms();
    const bool away = mqtt && mqtt->status().state != MqttLinkStatus::State::connected;
    if (!away)
        broker_away_since = 0;
    else if (broker_away_since == 0)
        broker_away_since = now;
    monitor->set_state(Alarm::broker_unreachable,
                       away && now - broker_away_since >= broker_patience_ms, now);
}

void Station::publish_to(const MqttConfig &config)
{
    if (mqtt) {
        pipeline.remove_sink(mqtt);
        delete mqtt;
        mqtt = nullptr;
    }
    if (config.host.isEmpty()) {
        watch_broker();
        return;
    }
    mqtt = new MqttPublisher(config, status_details(), this);
    pipeline.add_sink(mqtt);
    mqtt->set_alarms(monitor->active());
    connect(mqtt, &MqttPublisher::status_changed, this, [this] {
        watch_broker();
        schedule();
    });
    watch_broker();
    schedule();
}

// The retained status says which port and settings the station reads
// with, whether the port is open now (not while the device is away), and
// the vessel's last position when a receiver gave one.
QVariantMap Station::status_details() const
{
    QVariantMap details{
        {QStringLiteral("port"), chosen.name},
        {QStringLiteral("port_open"), port_session->state() == PortSession::Open},
        {QStringLiteral("baud"), chosen.baud},
        {QStringLiteral("average_points"), int(pipeline.average().points())},
        {QStringLiteral("input_format"), QString::fromLatin1(input_choice.format.name())},
        {QStringLiteral("format"),
         format() ? QVariant(QString::fromLatin1(format_name(*format()))) : QVariant()},
        {QStringLiteral("version"), QCoreApplication::applicationVersion()}};
    details.insert(nav->status());
    return details;
}

void Station::publish_status()
{
    if (mqtt)
        mqtt->set_status(status_details());
    nav->status_published(now_ms());
}
