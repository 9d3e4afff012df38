#include "sentence.h"

#include "decimaltext.h"

#include <QDateTime>

#include <iterator>

static const char *const format_names[] = {"sv2", "sv3", "svt", "line", "json"};

QString format_name(SentenceFormat format)
{
    return QString::fromLatin1(format_names[int(format)]);
}

bool format_from_name(const QString &name, SentenceFormat *format)
{
    for (int i = 0; i < int(std::size(format_names)); ++i) {
        if (name == QLatin1String(format_names[i])) {
            *format = SentenceFormat(i);
            return true;
        }
    }
    return false;
}

// The speed with decimals places and at least four digits before the point,
// so the columns stay put below 1000 m/s: "0343.00".
static QString padded_speed(const Reading &reading, int decimals)
{
    QString speed = round_decimal(reading.speed_text, decimals);
    const bool negative = speed.startsWith(QLatin1Char('-'));
    const int whole = speed.indexOf(QLatin1Char('.')) - int(negative);
    if (whole < 4)
        speed.insert(int(negative), QString(4 - whole, QLatin1Char('0')));
    return speed;
}

// The probe's own line exactly as it came, its line end too; the default
// instrument's as it always went (its "$1503.0" with the blank put back).
static QByteArray instrument_line(const Reading &reading)
{
    if (reading.format != FormatId::dollar && !reading.raw.isEmpty())
        return reading.raw;
    QByteArray line = reading.line.toUtf8();
    if (!line.endsWith("\r\n"))
        line += "\r\n";
    return line;
}

QByteArray build_sentence(SentenceFormat format, const Measurement &measurement)
{
    const Reading &reading = measurement.reading;
    switch (format) {
    case SentenceFormat::sv2:
        return ' ' + padded_speed(reading, 2).toLatin1() + "\r\n";
    case SentenceFormat::sv3:
        return ' ' + padded_speed(reading, 3).toLatin1() + "\r\n";
    case SentenceFormat::svt: {
        QByteArray sentence = ' ' + padded_speed(reading, 3).toLatin1();
        if (reading.has_temperature)
            sentence += ' ' + round_decimal(reading.temperature_text, 3).toLatin1();
        return sentence + "\r\n";
    }
    case SentenceFormat::line:
        return instrument_line(reading);
    case SentenceFormat::json:
        break;
    }
    return measurement_json(measurement);
}

static QByteArray json_value(const QString &number)
{
    const QString text = json_number(number);
    return text.isEmpty() ? QByteArrayLiteral("null") : text.toLatin1();
}

QByteArray measurement_json(const Measurement &measurement, bool with_average)
{
    const Reading &reading = measurement.reading;
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(measurement.utc_ms, Qt::UTC);
    QByteArray json = "{\"time_utc\":\"" + time.toString(Qt::ISODateWithMs).toLatin1()
        + "\",\"speed_m_s\":" + json_value(reading.speed_text) + ",\"temperature_c\":"
        + (reading.has_temperature ? json_value(reading.temperature_text) : "null");
    if (with_average)
        json += ",\"average_m_s\":" + json_value(measurement.average);
    return json + ",\"quality\":\"" + quality_name(measurement.quality) + '"'
        + position_json(measurement.position) + "}\n";
}
