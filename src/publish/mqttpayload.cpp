#include "mqttpayload.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>

namespace mqtt_payload {

QString utc_text(qint64 utc_ms)
{
    return QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::UTC).toString(Qt::ISODateWithMs);
}

// The number as received when it is already valid JSON ("1489.805"); the
// instrument's other spellings that still parse ("+1489.8", "1489.", ".5")
// are written out again from their value.
static QByteArray json_number(const QString &text)
{
    static const QRegularExpression json(
        QStringLiteral("^-?(?:0|[1-9][0-9]*)(?:\\.[0-9]+)?(?:[eE][+-]?[0-9]+)?$"));
    const QString trimmed = text.trimmed();
    if (json.match(trimmed).hasMatch())
        return trimmed.toLatin1();
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !qIsFinite(value))
        return QByteArrayLiteral("null");
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

QByteArray reading(const Measurement &measurement)
{
    const Reading &line = measurement.reading;
    // Built by hand: QJsonDocument would sort the keys and rewrite the
    // numbers from doubles.
    QByteArray json;
    json.reserve(224);
    json += "{\"time_utc\":\"" + utc_text(measurement.utc_ms).toLatin1() + "\"";
    json += ",\"speed_m_s\":" + json_number(line.speed_text);
    json += ",\"temperature_c\":";
    json += line.has_temperature ? json_number(line.temperature_text) : QByteArrayLiteral("null");
    json += ",\"average_m_s\":";
    json += measurement.average.isEmpty() ? QByteArrayLiteral("null")
                                          : json_number(measurement.average);
    json += ",\"quality\":\"" + QByteArray(quality_name(measurement.quality)) + '"';
    json += position_json(measurement.position);
    json += '}';
    return json;
}

QByteArray event(const QString &name, qint64 utc_ms)
{
    const QJsonObject object{{QStringLiteral("time_utc"), utc_text(utc_ms)},
                             {QStringLiteral("event"), name}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray alarms(const QStringList &active)
{
    return QJsonDocument(QJsonArray::fromStringList(active)).toJson(QJsonDocument::Compact);
}

QByteArray status(bool online, const QString &station, const QVariantMap &details)
{
    QJsonObject object = QJsonObject::fromVariantMap(details);
    object.insert(QStringLiteral("state"),
                  online ? QStringLiteral("online") : QStringLiteral("offline"));
    object.insert(QStringLiteral("station"), station);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace mqtt_payload
