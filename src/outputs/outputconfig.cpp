#include "outputconfig.h"

#include <QCoreApplication>

static const char *const kind_names[] = {"serial", "udp", "tcp"};
static const char *const gate_names[] = {"good_only", "every_valid"};

static QString bad_kind(const QString &kind)
{
    return QCoreApplication::translate("OutputConfig",
                                       "无法识别的输出类型“%1”，应为 udp、tcp 或 serial")
        .arg(kind);
}

static QString bad_format(const QString &name)
{
    return QCoreApplication::translate("OutputConfig",
                                       "未知的输出格式“%1”，应为 sv2、sv3、svt、line 或 json")
        .arg(name);
}

static QString no_serial_name()
{
    return QCoreApplication::translate("OutputConfig", "串口名为空");
}

static bool kind_from_name(const QString &name, OutputConfig::Kind *kind)
{
    for (int i = 0; i < 3; ++i) {
        if (name.compare(QLatin1String(kind_names[i]), Qt::CaseInsensitive) == 0) {
            *kind = OutputConfig::Kind(i);
            return true;
        }
    }
    return false;
}

static bool number_in(const QString &text, qint64 low, qint64 high, qint64 *value)
{
    bool ok = false;
    *value = text.trimmed().toLongLong(&ok);
    return ok && *value >= low && *value <= high;
}

static bool set_port(const QString &text, OutputConfig *config, QString *error)
{
    qint64 value = 0;
    if (!number_in(text, 1, 65535, &value)) {
        *error = QCoreApplication::translate("OutputConfig", "端口应为 1 到 65535 之间的整数：“%1”")
                     .arg(text);
        return false;
    }
    config->port = quint16(value);
    return true;
}

static bool set_baud(const QString &text, OutputConfig *config, QString *error)
{
    qint64 value = 0;
    if (!number_in(text, 50, 4000000, &value)) {
        *error = QCoreApplication::translate("OutputConfig", "波特率无效：“%1”").arg(text);
        return false;
    }
    config->baud = qint32(value);
    return true;
}

static bool set_format(const QString &text, OutputConfig *config, QString *error)
{
    if (format_from_name(text.trimmed().toLower(), &config->format))
        return true;
    *error = bad_format(text);
    return false;
}

// What follows "serial:": PATH, PATH:BAUD, PATH:FORMAT or PATH:BAUD:FORMAT.
static bool parse_serial(const QStringList &parts, OutputConfig *config, QString *error)
{
    config->serial_name = parts.at(1).trimmed();
    if (config->serial_name.isEmpty()) {
        *error = no_serial_name();
        return false;
    }
    if (parts.size() == 3 && format_from_name(parts.at(2).trimmed().toLower(), &config->format))
        return true;
    if (parts.size() >= 3 && !set_baud(parts.at(2), config, error))
        return false;
    return parts.size() < 4 || set_format(parts.at(3), config, error);
}

static bool parse_network(const QStringList &parts, OutputConfig *config, QString *error)
{
    int next = 1;
    if (config->kind == OutputConfig::udp) {
        config->host = parts.at(next++).trimmed();
        if (config->host.isEmpty()) {
            *error = QCoreApplication::translate("OutputConfig", "UDP 输出的主机名为空");
            return false;
        }
    }
    if (!set_port(parts.at(next++), config, error))
        return false;
    return parts.size() == next || set_format(parts.at(next), config, error);
}

bool OutputConfig::parse(const QString &text, OutputConfig *config, QString *error)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    OutputConfig parsed;
    if (!kind_from_name(parts.at(0).trimmed(), &parsed.kind)) {
        *error = bad_kind(parts.at(0));
        return false;
    }
    const int least = parsed.kind == udp ? 3 : 2;
    const int most = parsed.kind == tcp ? 3 : 4;
    if (parts.size() < least || parts.size() > most) {
        *error = QCoreApplication::translate("OutputConfig",
                                             "输出设置“%1”的格式应为 udp:主机:端口[:格式]、"
                                             "tcp:端口[:格式] 或 serial:串口[:波特率[:格式]]")
                     .arg(text);
        return false;
    }
    const bool ok = parsed.kind == serial ? parse_serial(parts, &parsed, error)
                                          : parse_network(parts, &parsed, error);
    if (ok)
        *config = parsed;
    return ok;
}

QString OutputConfig::to_text() const
{
    QString text = QLatin1String(kind_names[kind]) + QLatin1Char(':');
    if (kind == serial)
        text += serial_name + QLatin1Char(':') + QString::number(baud);
    else if (kind == udp)
        text += host + QLatin1Char(':') + QString::number(port);
    else
        text += QString::number(port);
    return text + QLatin1Char(':') + format_name(format);
}

QVariantMap OutputConfig::to_map() const
{
    return {{QStringLiteral("kind"), QLatin1String(kind_names[kind])},
            {QStringLiteral("enabled"), enabled},
            {QStringLiteral("format"), format_name(format)},
            {QStringLiteral("gate"), QLatin1String(gate_names[gate])},
            {QStringLiteral("hold"), hold},
            {QStringLiteral("serial_name"), serial_name},
            {QStringLiteral("baud"), baud},
            {QStringLiteral("data_bits"), int(data_bits)},
            {QStringLiteral("parity"), int(parity)},
            {QStringLiteral("stop_bits"), int(stop_bits)},
            {QStringLiteral("host"), host},
            {QStringLiteral("port"), port}};
}

bool OutputConfig::same_destination(const OutputConfig &other) const
{
    return kind == other.kind && serial_name == other.serial_name && baud == other.baud
        && data_bits == other.data_bits && parity == other.parity && stop_bits == other.stop_bits
        && host == other.host && port == other.port;
}

bool OutputConfig::operator==(const OutputConfig &other) const
{
    return same_destination(other) && enabled == other.enabled && format == other.format
        && gate == other.gate && hold == other.hold;
}

static bool line_settings_from_map(const QVariantMap &map, OutputConfig *config, QString *error)
{
    bool ok_data = true, ok_parity = true, ok_stop = true;
    const int data = map.value(QStringLiteral("data_bits"), int(config->data_bits)).toInt(&ok_data);
    const int parity = map.value(QStringLiteral("parity"), int(config->parity)).toInt(&ok_parity);
    const int stop = map.value(QStringLiteral("stop_bits"), int(config->stop_bits)).toInt(&ok_stop);
    if (!ok_data || !ok_parity || !ok_stop || data < 5 || data > 8 || parity < 0 || parity == 1
        || parity > 5 || stop < 1 || stop > 3) {
        *error = QCoreApplication::translate("OutputConfig",
                                             "串口参数无效：数据位 %1，校验 %2，停止位 %3")
                     .arg(map.value(QStringLiteral("data_bits")).toString(),
                          map.value(QStringLiteral("parity")).toString(),
                          map.value(QStringLiteral("stop_bits")).toString());
        return false;
    }
    config->data_bits = QSerialPort::DataBits(data);
    config->parity = QSerialPort::Parity(parity);
    config->stop_bits = QSerialPort::StopBits(stop);
    return true;
}

static bool destination_from_map(const QVariantMap &map, OutputConfig *config, QString *error)
{
    const QString baud = QStringLiteral("baud");
    if (config->kind == OutputConfig::serial) {
        config->serial_name = map.value(QStringLiteral("serial_name")).toString().trimmed();
        if (config->serial_name.isEmpty()) {
            *error = no_serial_name();
            return false;
        }
        return (!map.contains(baud) || set_baud(map.value(baud).toString(), config, error))
            && line_settings_from_map(map, config, error);
    }
    QStringList parts{QString(), map.value(QStringLiteral("port")).toString()};
    if (config->kind == OutputConfig::udp)
        parts.insert(1, map.value(QStringLiteral("host")).toString());
    return parse_network(parts, config, error);
}

bool OutputConfig::from_map(const QVariantMap &map, OutputConfig *config, QString *error)
{
    OutputConfig read;
    const QString kind = map.value(QStringLiteral("kind")).toString();
    if (!kind_from_name(kind, &read.kind)) {
        *error = bad_kind(kind);
        return false;
    }
    read.enabled = map.value(QStringLiteral("enabled"), true).toBool();
    read.hold = map.value(QStringLiteral("hold"), false).toBool();
    const QString gate = map.value(QStringLiteral("gate"), QLatin1String(gate_names[0])).toString();
    if (gate == QLatin1String(gate_names[1]))
        read.gate = OutputGate::every_valid;
    else if (gate != QLatin1String(gate_names[0])) {
        *error = QCoreApplication::translate("OutputConfig", "未知的输出条件“%1”").arg(gate);
        return false;
    }
    const QString format = map.value(QStringLiteral("format"), format_name(read.format)).toString();
    if (!set_format(format, &read, error) || !destination_from_map(map, &read, error))
        return false;
    *config = read;
    return true;
}
