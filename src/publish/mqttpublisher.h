#ifndef MQTTPUBLISHER_H
#define MQTTPUBLISHER_H

#include "mqttconfig.h"
#include "mqttlinkstatus.h"
#include "readingsink.h"
#include "readingthinner.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <memory>

class MqttLink;

// Readings, events, alarms and the program's status to an MQTT broker, as
// one more consumer of readings. Every call returns at once: the broker
// being away or slow never holds up the caller. Readings go out QoS 0 (at
// most one a second, the latest, with thin_readings); events QoS 1, kept in
// order while the broker is away; alarms and status retained.
class MqttPublisher : public QObject, public ReadingSink
{
    Q_OBJECT

public:
    // status: what the online status tells besides the state and the
    // station (the port, the settings, the program's version), so that the
    // first status the broker retains is already complete.
    explicit MqttPublisher(const MqttConfig &config, const QVariantMap &status = {},
                           QObject *parent = nullptr);
    // Sends the offline status; waits at most about a second for the broker.
    ~MqttPublisher() override;

    int take(const Measurement &measurement) override;
    void event(const QString &name, qint64 utc_ms) override;

    // The alarms active now, by name, retained; none is published as [].
    void set_alarms(const QStringList &active);
    // A new online status, as given to the constructor.
    void set_status(const QVariantMap &details);

    MqttLinkStatus status() const;
    const MqttConfig &config() const { return settings; }

signals:
    // The state or the error text changed. Counts change without it: read
    // them from status() when showing it.
    void status_changed(const MqttLinkStatus &status);

private:
    void send_thinned();

    const MqttConfig settings;
    ReadingThinner thinner;
    QTimer thin_timer;
    std::unique_ptr<MqttLink> link;
};

#endif
