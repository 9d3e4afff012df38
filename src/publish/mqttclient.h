#ifndef MQTTCLIENT_H
#define MQTTCLIENT_H

#include "mqttconfig.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <functional>

struct mosquitto;

// libmosquitto's client for one thread, driven from outside: the owner polls
// socket() and calls service(). Connecting never blocks on the network
// (only on a host name lookup); the callbacks run inside service().
class MqttClient
{
    Q_DECLARE_TR_FUNCTIONS(MqttClient)

public:
    struct Callbacks
    {
        std::function<void(int rc)> connected; // the broker's CONNACK code; 0: accepted
        std::function<void(int mid)> published; // QoS 0 written, QoS 1 acknowledged
    };

    MqttClient(const MqttConfig &config, Callbacks callbacks);
    ~MqttClient();

    MqttClient(const MqttClient &) = delete;
    MqttClient &operator=(const MqttClient &) = delete;

    // Credentials, last will and TLS. An error text when they cannot be set.
    QString prepare(const QByteArray &will);
    // Starts a connection attempt. An error text when it failed at once.
    QString connect();
    // The message id, or -1 when the library did not take the message.
    int publish(const QString &leaf, const QByteArray &payload, int qos, bool retain);
    // Clean goodbye: the broker does not send the last will.
    void disconnect();

    int socket() const;
    bool want_write() const;
    // Reads, writes and keepalive. False when the socket closed during this
    // call; *reason then tells why.
    bool service(QString *reason);

    static QString refusal_text(int rc);
    QString unreachable_text(const QString &reason) const;

private:
    static void on_connect(mosquitto *, void *client, int rc);
    static void on_publish(mosquitto *, void *client, int mid);
    static void on_log(mosquitto *, void *client, int level, const char *text);
    QString failure_text(int rc, int error_number);

    const MqttConfig config;
    const Callbacks callbacks;
    mosquitto *mosq = nullptr;
    QString library_detail; // the library's last error line, e.g. why a certificate failed
};

#endif
