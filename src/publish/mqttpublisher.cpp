#include "mqttpublisher.h"

#include "mqttlink.h"
#include "mqttpayload.h"

MqttPublisher::MqttPublisher(const MqttConfig &config, const QVariantMap &status, QObject *parent)
    : QObject(parent), settings(config)
{
    qRegisterMetaType<MqttLinkStatus>();
    thin_timer.setSingleShot(true);
    connect(&thin_timer, &QTimer::timeout, this, &MqttPublisher::send_thinned);
    // The link calls from its own thread; the signal leaves from this
    // object's, and not at all once it is gone.
    link = std::make_unique<MqttLink>(config, mqtt_payload::status(true, config.station, status),
                                      [this](const MqttLinkStatus &now) {
                                          QMetaObject::invokeMethod(
                                              this, [this, now] { emit status_changed(now); },
                                              Qt::QueuedConnection);
                                      });
}

MqttPublisher::~MqttPublisher() = default;

int MqttPublisher::take(const Measurement &measurement)
{
    const QByteArray payload = mqtt_payload::reading(measurement);
    if (!settings.thin_readings || thinner.offer(payload, measurement.utc_ms)) {
        link->publish_reading(payload);
    } else if (!thin_timer.isActive()) {
        thin_timer.start(int(qMax<qint64>(0, thinner.due_ms() - measurement.utc_ms)));
    }
    return 0;
}

void MqttPublisher::event(const QString &name, qint64 utc_ms)
{
    link->publish_event(mqtt_payload::event(name, utc_ms));
}

void MqttPublisher::set_alarms(const QStringList &active)
{
    link->set_alarms(mqtt_payload::alarms(active));
}

void MqttPublisher::set_status(const QVariantMap &details)
{
    link->set_status(mqtt_payload::status(true, settings.station, details));
}

MqttLinkStatus MqttPublisher::status() const
{
    return link->status();
}

void MqttPublisher::send_thinned()
{
    const QByteArray payload = thinner.take_waiting();
    if (!payload.isEmpty())
        link->publish_reading(payload);
}
