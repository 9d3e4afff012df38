#include "mqttclient.h"

#include <QFile>

#include <mosquitto.h>

#include <cerrno>
#include <cstring>
#include <mutex>

namespace {

constexpr int keepalive_s = 30;

QString library_error(int rc, int error_number)
{
    if (rc == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(strerror(error_number));
    return QString::fromUtf8(mosquitto_strerror(rc));
}

} // namespace

MqttClient::MqttClient(const MqttConfig &config, Callbacks callbacks)
    : config(config), callbacks(std::move(callbacks))
{
    static std::once_flag library_ready;
    std::call_once(library_ready, [] { mosquitto_lib_init(); });
    const QByteArray id = config.client_id.toUtf8();
    mosq = mosquitto_new(id.isEmpty() ? nullptr : id.constData(), true, this);
}

MqttClient::~MqttClient()
{
    if (mosq)
        mosquitto_destroy(mosq);
}

QString MqttClient::prepare(const QByteArray &will)
{
    if (!mosq)
        return tr("无法创建 MQTT 客户端");
    mosquitto_connect_callback_set(mosq, on_connect);
    mosquitto_publish_callback_set(mosq, on_publish);
    mosquitto_log_callback_set(mosq, on_log);
    if (!config.user.isEmpty()) {
        const QByteArray user = config.user.toUtf8(), password = config.password.toUtf8();
        mosquitto_username_pw_set(mosq, user.constData(),
                                  config.password.isEmpty() ? nullptr : password.constData());
    }
    const QByteArray will_topic = config.topic(QStringLiteral("status")).toUtf8();
    mosquitto_will_set(mosq, will_topic.constData(), will.size(), will.constData(), 1, true);
    if (!config.tls)
        return QString();
    const QByteArray ca_file = QFile::encodeName(config.ca_file);
    const int rc = mosquitto_tls_set(mosq, ca_file.isEmpty() ? nullptr : ca_file.constData(),
                                     ca_file.isEmpty() ? "/etc/ssl/certs" : nullptr, nullptr,
                                     nullptr, nullptr);
    if (rc != MOSQ_ERR_SUCCESS)
        return tr("TLS 设置失败：%1").arg(library_error(rc, errno));
    if (!config.verify_certificate) {
        mosquitto_tls_opts_set(mosq, 0, nullptr, nullptr); // 0: SSL_VERIFY_NONE
        mosquitto_tls_insecure_set(mosq, true);
    }
    return QString();
}

QString MqttClient::connect()
{
    const QByteArray host = config.host.toUtf8();
    const int rc = mosquitto_connect_async(mosq, host.constData(), config.port, keepalive_s);
    const int error_number = errno;
    if (rc == MOSQ_ERR_SUCCESS || socket() >= 0)
        return QString();
    return unreachable_text(failure_text(rc, error_number));
}

QString MqttClient::unreachable_text(const QString &reason) const
{
    return tr("无法连接 %1：%2").arg(config.address(), reason);
}

int MqttClient::publish(const QString &leaf, const QByteArray &payload, int qos, bool retain)
{
    const QByteArray topic = config.topic(leaf).toUtf8();
    int mid = 0;
    const int rc = mosquitto_publish(mosq, &mid, topic.constData(), payload.size(),
                                     payload.constData(), qos, retain);
    return rc == MOSQ_ERR_SUCCESS ? mid : -1;
}

void MqttClient::disconnect()
{
    mosquitto_disconnect(mosq);
}

int MqttClient::socket() const
{
    return mosq ? mosquitto_socket(mosq) : -1;
}

bool MqttClient::want_write() const
{
    return mosq && mosquitto_want_write(mosq);
}

bool MqttClient::service(QString *reason)
{
    if (socket() < 0)
        return true;
    const int rc = mosquitto_loop(mosq, 0, 1);
    const int error_number = errno;
    if (socket() >= 0)
        return true;
    *reason = failure_text(rc, error_number);
    return false;
}

// A TLS failure says little by itself; the library's own line says which check failed.
QString MqttClient::failure_text(int rc, int error_number)
{
    QString text = library_error(rc, error_number);
    if (rc == MOSQ_ERR_TLS && !library_detail.isEmpty())
        text += QStringLiteral(" (") + library_detail + QLatin1Char(')');
    library_detail.clear();
    return text;
}

QString MqttClient::refusal_text(int rc)
{
    return tr("代理拒绝连接：%1").arg(QString::fromUtf8(mosquitto_connack_string(rc)));
}

void MqttClient::on_connect(mosquitto *, void *client, int rc)
{
    static_cast<MqttClient *>(client)->callbacks.connected(rc);
}

// The library never logs the password; only its error lines are kept, for
// the next failure's text.
void MqttClient::on_log(mosquitto *, void *client, int level, const char *text)
{
    if (level & MOSQ_LOG_ERR)
        static_cast<MqttClient *>(client)->library_detail = QString::fromUtf8(text);
}

void MqttClient::on_publish(mosquitto *, void *client, int mid)
{
    static_cast<MqttClient *>(client)->callbacks.published(mid);
}
