#include "mqttconfig.h"

#include <QCoreApplication>
#include <QRegularExpression>

bool MqttConfig::parse_address(const QString &text)
{
    // An IPv6 address has colons of its own, so a port after it needs brackets.
    static const QRegularExpression pattern(
        QStringLiteral("^(?:\\[([0-9A-Fa-f:.]+)\\]|([^\\s:\\[\\]/]+))(?::(\\d{1,5}))?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    uint number = default_port;
    if (match.capturedLength(3) > 0) {
        number = match.captured(3).toUInt();
        if (number < 1 || number > 65535)
            return false;
    }
    host = match.capturedLength(1) > 0 ? match.captured(1) : match.captured(2);
    port = quint16(number);
    return true;
}

QString MqttConfig::address() const
{
    const QString shown_host
        = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return shown_host + QLatin1Char(':') + QString::number(port);
}

QString MqttConfig::topic(const QString &leaf) const
{
    return QStringLiteral("sv/") + station + QLatin1Char('/') + leaf;
}

QString MqttConfig::problem() const
{
    if (host.isEmpty())
        return QCoreApplication::translate("MqttConfig", "未填写 MQTT 代理地址");
    // Wildcards and a slash in the name would put the topics somewhere else.
    static const QRegularExpression bad_station(QStringLiteral("[+#/]"));
    if (station.isEmpty() || station.contains(bad_station))
        return QCoreApplication::translate("MqttConfig", "站名不能为空，也不能含有 + # /");
    return QString();
}

QVariantMap MqttConfig::to_map() const
{
    QVariantMap map{
        {QStringLiteral("host"), host},
        {QStringLiteral("port"), port},
        {QStringLiteral("station"), station},
        {QStringLiteral("client_id"), client_id},
        {QStringLiteral("user"), user},
        {QStringLiteral("ca_file"), ca_file},
        {QStringLiteral("tls"), tls},
        {QStringLiteral("verify_certificate"), verify_certificate},
        {QStringLiteral("thin_readings"), thin_readings},
        {QStringLiteral("remember_password"), remember_password},
    };
    if (remember_password)
        map.insert(QStringLiteral("password"), password);
    return map;
}

MqttConfig MqttConfig::from_map(const QVariantMap &map)
{
    MqttConfig config;
    config.host = map.value(QStringLiteral("host")).toString();
    const uint port = map.value(QStringLiteral("port"), default_port).toUInt();
    config.port = port >= 1 && port <= 65535 ? quint16(port) : default_port;
    config.station = map.value(QStringLiteral("station")).toString();
    config.client_id = map.value(QStringLiteral("client_id")).toString();
    config.user = map.value(QStringLiteral("user")).toString();
    config.ca_file = map.value(QStringLiteral("ca_file")).toString();
    config.tls = map.value(QStringLiteral("tls"), false).toBool();
    config.verify_certificate = map.value(QStringLiteral("verify_certificate"), true).toBool();
    config.thin_readings = map.value(QStringLiteral("thin_readings"), false).toBool();
    config.remember_password = map.value(QStringLiteral("remember_password"), false).toBool();
    if (config.remember_password)
        config.password = map.value(QStringLiteral("password")).toString();
    return config;
}

bool MqttConfig::take_password_from_environment()
{
    if (!qEnvironmentVariableIsSet("SV_MQTT_PASSWORD"))
        return false;
    password = qEnvironmentVariable("SV_MQTT_PASSWORD");
    return true;
}
