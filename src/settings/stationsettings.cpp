#include "stationsettings.h"

#include "interfacelanguage.h"
#include "probeformat.h"

#include <QSerialPort>

#include <cmath>
#include <initializer_list>

namespace {

struct Bounds
{
    double low, high;
    bool holds(double value) const { return low <= value && value <= high; }
};

struct Choices
{
    std::initializer_list<int> values;
    bool holds(int value) const
    {
        for (int allowed : values) {
            if (value == allowed)
                return true;
        }
        return false;
    }
};

// A text that may be empty.
struct AnyText
{
};

// "auto" or a format's name.
struct FormatToken
{
    bool holds(const QString &text) const
    {
        InputFormat input;
        return InputFormat::from_name(text.toStdString(), &input);
    }
};

// A language the program has a translation for.
struct LanguageCode
{
    bool holds(const QString &text) const { return InterfaceLanguage::known(text); }
};

const char *const range_low_key = "quality/range_low";
const char *const range_high_key = "quality/range_high";

// Every field with its key and what a stored value must satisfy; shared by
// writing and reading so the two cannot drift apart. S is StationSettings,
// const or not.
template<typename S, typename Visitor> void visit_fields(S &s, Visitor &&visit)
{
    visit("port/name", s.port_name);
    visit("port/baud", s.baud, Bounds{1, 4000000});
    visit("port/data_bits", s.data_bits, Bounds{5, 8});
    visit("port/parity", s.parity,
          Choices{{QSerialPort::NoParity, QSerialPort::EvenParity, QSerialPort::OddParity,
                   QSerialPort::SpaceParity, QSerialPort::MarkParity}});
    visit("port/stop_bits", s.stop_bits,
          Choices{{QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop}});
    visit("instrument/baud", s.instrument_baud, Bounds{1, 4000000});
    visit("instrument/rate", s.output_rate, Bounds{1, 30});
    visit("instrument/temperature", s.temperature_output);
    visit("average/count", s.average_count, Bounds{1, 1000000});
    visit("average/good_only", s.average_good_only);
    visit("pane/arrival_times", s.pane_arrival_times);
    visit("recording/line_log", s.line_log);
    visit("input/format", s.input_format, FormatToken{});
    visit("input/ignore_checksums", s.ignore_checksums);
    visit("input/start_text", s.start_text, AnyText{});
    visit(range_low_key, s.range_low, Bounds{0, 100000});
    visit(range_high_key, s.range_high, Bounds{0, 100000});
    visit("quality/spike_threshold", s.spike_threshold, Bounds{1e-6, 100000});
    visit("water/salinity", s.salinity, Bounds{0, 50});
    visit("water/depth", s.depth, Bounds{0, 12000});
    visit("trend/span", s.trend_span_s, Choices{{300, 1800, 7200}});
    visit("trend/window_geometry", s.trend_window_geometry);
    visit("outputs/list", s.outputs);
    visit("alarms/settings", s.alarms);
    visit("mqtt/settings", s.mqtt);
    visit("recording/folder", s.recording_folder);
    visit("nav/source", s.nav_source);
    visit("nav/on", s.nav_on);
    visit("nav/fresh_s", s.nav_fresh_s, Bounds{0.1, 60});
    visit("interface/language", s.language, LanguageCode{});
}

// A number as QSettings gives it back: typed when the value was set in this
// process, text when it was read from the file. A bool is not a number.
bool number_text(const QVariant &value, QString *text)
{
    switch (value.userType()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        *text = value.toString().trimmed();
        return true;
    default:
        return false;
    }
}

// Reads one field at a time out of a map, noting each key it cannot use.
class FieldReader
{
public:
    FieldReader(const QVariantMap &map, QStringList *problems) : map(map), problems(problems) { }

    template<typename T, typename... Rule>
    void operator()(const char *key, std::optional<T> &field, Rule... rule)
    {
        const auto found = map.constFind(QLatin1String(key));
        if (found == map.constEnd())
            return;
        T value{};
        if (read(*found, &value, rule...))
            field = value;
        else if (problems)
            problems->append(QLatin1String(key));
    }

private:
    static bool read(const QVariant &v, QString *out)
    {
        *out = v.toString();
        return v.userType() == QMetaType::QString && !out->isEmpty();
    }
    static bool read(const QVariant &v, QString *out, FormatToken token)
    {
        return read(v, out) && token.holds(*out);
    }
    static bool read(const QVariant &v, QString *out, LanguageCode code)
    {
        return read(v, out) && code.holds(*out);
    }
    static bool read(const QVariant &v, QString *out, AnyText)
    {
        *out = v.toString();
        return v.userType() == QMetaType::QString;
    }
    static bool read(const QVariant &v, QString *out, Bounds bounds)
    {
        int number = 0;
        if (!read(v, &number, bounds))
            return false;
        *out = QString::number(number);
        return true;
    }
    template<typename Rule> static bool read(const QVariant &v, int *out, Rule rule)
    {
        QString text;
        bool ok = false;
        if (number_text(v, &text))
            *out = text.toInt(&ok);
        return ok && rule.holds(*out);
    }
    static bool read(const QVariant &v, double *out, Bounds bounds)
    {
        QString text;
        bool ok = false;
        if (number_text(v, &text))
            *out = text.toDouble(&ok);
        return ok && std::isfinite(*out) && bounds.holds(*out);
    }
    static bool read(const QVariant &v, bool *out)
    {
        if (v.userType() == QMetaType::Bool) {
            *out = v.toBool();
            return true;
        }
        const QString text = v.toString();
        *out = text == QLatin1String("true");
        return v.userType() == QMetaType::QString && (*out || text == QLatin1String("false"));
    }
    static bool read(const QVariant &v, QVariantList *out)
    {
        // QSettings stores an empty list as an invalid value.
        if (!v.isValid()) {
            out->clear();
            return true;
        }
        *out = v.toList();
        for (const QVariant &item : *out) {
            if (item.userType() != QMetaType::QVariantMap)
                return false;
        }
        return v.userType() == QMetaType::QVariantList;
    }
    static bool read(const QVariant &v, QVariantMap *out)
    {
        *out = v.toMap();
        return v.userType() == QMetaType::QVariantMap;
    }
    static bool read(const QVariant &v, QByteArray *out)
    {
        *out = v.toByteArray();
        return v.userType() == QMetaType::QByteArray && !out->isEmpty();
    }

    const QVariantMap &map;
    QStringList *problems;
};

} // namespace

StationSettings StationSettings::defaults()
{
    StationSettings s;
    s.port_name = QStringLiteral("COM1");
    s.baud = QSerialPort::Baud9600;
    s.data_bits = QSerialPort::Data8;
    s.parity = QSerialPort::NoParity;
    s.stop_bits = QSerialPort::OneStop;
    s.range_low = 1400.0;
    s.range_high = 1600.0;
    s.spike_threshold = 2.0;
    s.salinity = 35.0;
    s.depth = 0.0;
    s.trend_span_s = 300;
    s.average_good_only = false;
    s.pane_arrival_times = false;
    s.line_log = false;
    s.input_format = QStringLiteral("auto");
    s.ignore_checksums = false;
    s.start_text = QString();
    return s;
}

QStringList StationSettings::keys()
{
    QStringList keys;
    StationSettings unused;
    visit_fields(unused,
                 [&keys](const char *key, const auto &, auto...) { keys << QLatin1String(key); });
    return keys;
}

QVariantMap StationSettings::to_map() const
{
    QVariantMap map;
    visit_fields(*this, [&map](const char *key, const auto &field, auto...) {
        if (field)
            map.insert(QLatin1String(key), QVariant::fromValue(*field));
    });
    return map;
}

StationSettings StationSettings::from_map(const QVariantMap &map, QStringList *problems)
{
    StationSettings s;
    visit_fields(s, FieldReader(map, problems));
    // Limits that leave no speed between them are no limits at all.
    if (s.range_low && s.range_high && *s.range_low >= *s.range_high) {
        s.range_low.reset();
        s.range_high.reset();
        if (problems)
            *problems << QLatin1String(range_low_key) << QLatin1String(range_high_key);
    }
    return s;
}
