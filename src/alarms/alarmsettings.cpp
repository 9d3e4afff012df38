#include "alarmsettings.h"

#include <cmath>

namespace {

const char *const spike_limit_key = "spike_limit";
const char *const difference_limit_key = "difference_limit";
const char *const clear_after_key = "clear_after_s";
const char *const equation_key = "equation";
const char *const salinity_key = "salinity";
const char *const depth_key = "depth";
const char *const clock_offset_limit_key = "clock_offset_limit_s";

const SoundEquation equations[]
    = {SoundEquation::unesco, SoundEquation::del_grosso, SoundEquation::mackenzie};

// Finite number within [low, high]; a bool is not a number.
bool read_number(const QVariant &value, double low, double high, double *out)
{
    bool ok = false;
    if (value.userType() != QMetaType::Bool)
        *out = value.toDouble(&ok);
    return ok && std::isfinite(*out) && low <= *out && *out <= high;
}

// Reads a field that is present, noting the key when it cannot be used.
template<typename Read>
void read_field(const QVariantMap &map, const char *key, QStringList *problems, Read read)
{
    const auto found = map.constFind(QLatin1String(key));
    if (found != map.constEnd() && !read(*found) && problems)
        problems->append(QLatin1String(key));
}

} // namespace

AlarmSettings::AlarmSettings()
{
    for (int i = 0; i < alarm_count; ++i)
        enabled[i] = alarm_enabled_by_default(static_cast<Alarm>(i));
}

QVariantMap AlarmSettings::to_map() const
{
    QVariantMap map;
    for (int i = 0; i < alarm_count; ++i)
        map.insert(QLatin1String(alarm_name(static_cast<Alarm>(i))), enabled[i]);
    map.insert(QLatin1String(spike_limit_key), spike_limit);
    map.insert(QLatin1String(difference_limit_key), difference_limit);
    map.insert(QLatin1String(clear_after_key), clear_after_s);
    map.insert(QLatin1String(equation_key), QLatin1String(equation_name(equation)));
    map.insert(QLatin1String(salinity_key), salinity);
    map.insert(QLatin1String(depth_key), depth);
    map.insert(QLatin1String(clock_offset_limit_key), clock_offset_limit_s);
    return map;
}

AlarmSettings AlarmSettings::from_map(const QVariantMap &map, QStringList *problems)
{
    AlarmSettings s;
    for (int i = 0; i < alarm_count; ++i) {
        read_field(map, alarm_name(static_cast<Alarm>(i)), problems, [&](const QVariant &v) {
            // As typed in the program, or as text when read back from a file.
            const QString text = v.toString();
            if (v.userType() != QMetaType::Bool && text != QLatin1String("true")
                && text != QLatin1String("false"))
                return false;
            s.enabled[i] = v.toBool();
            return true;
        });
    }
    auto whole = [&](int *field, int low, int high) {
        return [=](const QVariant &v) {
            double value = 0;
            const bool ok = read_number(v, low, high, &value) && value == std::floor(value);
            if (ok)
                *field = int(value);
            return ok;
        };
    };
    read_field(map, spike_limit_key, problems, whole(&s.spike_limit, 0, 1000));
    read_field(map, clear_after_key, problems, whole(&s.clear_after_s, 0, 3600));
    auto number = [&](double *field, double low, double high) {
        return [=](const QVariant &v) {
            double value = 0;
            const bool ok = read_number(v, low, high, &value);
            if (ok)
                *field = value;
            return ok;
        };
    };
    read_field(map, difference_limit_key, problems, number(&s.difference_limit, 1e-3, 1000));
    read_field(map, salinity_key, problems, number(&s.salinity, 0, 50));
    read_field(map, depth_key, problems, number(&s.depth, 0, 12000));
    read_field(map, clock_offset_limit_key, problems,
               number(&s.clock_offset_limit_s, 0.001, 86400));
    read_field(map, equation_key, problems, [&](const QVariant &v) {
        for (SoundEquation equation : equations) {
            if (v.toString() == QLatin1String(equation_name(equation))) {
                s.equation = equation;
                return true;
            }
        }
        return false;
    });
    return s;
}
