#ifndef MQTTCONFIG_H
#define MQTTCONFIG_H

#include "reconnectbackoff.h"

#include <QString>
#include <QVariantMap>

// Where readings are published and as whom. Every topic sits under
// sv/<station>/, so one broker can serve several stations.
struct MqttConfig
{
    static constexpr quint16 default_port = 1883;

    QString host;
    quint16 port = default_port;
    QString station;
    QString client_id; // empty: the library makes up a random one
    QString user;
    QString password; // never logged, never part of an error text
    QString ca_file; // empty with TLS: the system's certificate store
    bool tls = false;
    bool verify_certificate = true; // off only for a test broker with a self-made certificate
    bool thin_readings = false; // at most one reading a second, the latest
    bool remember_password = false;
    qint64 first_retry_ms = ReconnectBackoff::default_first_ms; // tests shorten it

    // "HOST", "HOST:PORT" or "[IPv6]:PORT"; a missing port is the default.
    // False, and nothing changed, when the text is no such address.
    bool parse_address(const QString &text);
    QString address() const;

    // "sv/<station>/<leaf>".
    QString topic(const QString &leaf) const;
    // Why the broker cannot be reached with this, for the user; empty when
    // nothing is missing.
    QString problem() const;

    // For the settings store; the password only when it is to be remembered.
    QVariantMap to_map() const;
    static MqttConfig from_map(const QVariantMap &map);

    // A start from the command line takes the password from SV_MQTT_PASSWORD,
    // so it never shows in the process list. False when it is not set.
    bool take_password_from_environment();
};

#endif
