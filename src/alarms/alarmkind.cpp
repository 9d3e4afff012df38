#include "alarmkind.h"

#include <QCoreApplication>

#include <array>

namespace {

struct AlarmKind
{
    const char *name;
    const char *description;
    bool enabled;
};

// In the order of Alarm. The difference is off until asked for: it depends
// on a salinity typed by hand; so is the broker, which a station may well be
// without for hours.
const std::array<AlarmKind, alarm_count> kinds{{
    {"stale", QT_TRANSLATE_NOOP("AlarmKind", "无有效数据"), true},
    {"device_lost", QT_TRANSLATE_NOOP("AlarmKind", "串口连接已断开"), true},
    {"range", QT_TRANSLATE_NOOP("AlarmKind", "声速超出范围"), true},
    {"spikes", QT_TRANSLATE_NOOP("AlarmKind", "跳变过多"), true},
    {"difference", QT_TRANSLATE_NOOP("AlarmKind", "与计算声速相差过大"), false},
    {"recording_failed", QT_TRANSLATE_NOOP("AlarmKind", "数据保存失败"), true},
    {"port_unavailable", QT_TRANSLATE_NOOP("AlarmKind", "串口无法打开"), true},
    {"broker_unreachable", QT_TRANSLATE_NOOP("AlarmKind", "MQTT 代理无法连接"), false},
    {"clock_offset", QT_TRANSLATE_NOOP("AlarmKind", "电脑时钟偏差过大"), true},
}};

} // namespace

const char *alarm_name(Alarm alarm)
{
    return kinds[static_cast<int>(alarm)].name;
}

std::optional<Alarm> alarm_from_name(const QString &name)
{
    for (int i = 0; i < alarm_count; ++i) {
        if (name == QLatin1String(kinds[i].name))
            return static_cast<Alarm>(i);
    }
    return std::nullopt;
}

QString alarm_description(const QString &name)
{
    const std::optional<Alarm> alarm = alarm_from_name(name);
    return alarm
        ? QCoreApplication::translate("AlarmKind", kinds[static_cast<int>(*alarm)].description)
        : QString();
}

bool alarm_enabled_by_default(Alarm alarm)
{
    return kinds[static_cast<int>(alarm)].enabled;
}

QString alarm_event_text(const QString &name, bool on)
{
    return (on ? QStringLiteral("alarm_on:") : QStringLiteral("alarm_off:")) + name;
}
