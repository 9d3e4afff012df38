#include "settingsfile.h"

#include <QSettings>

namespace {

const char *const format_key = "format";
// Where the settings store keeps its profiles; never station settings.
const QString profiles_group = QStringLiteral("profiles");

QString load_message(bool damaged, bool later, const QStringList &problems)
{
    QStringList parts;
    if (damaged)
        parts << QStringLiteral("设置文件已损坏，能读取的设置已恢复，其余使用默认值");
    if (later)
        parts << QStringLiteral("设置由较新版本的程序保存，能读取的设置已恢复，其余使用默认值");
    if (!problems.isEmpty())
        parts << QStringLiteral("部分设置无法读取，已使用默认值：")
                + problems.join(QStringLiteral("、"));
    return parts.join(QStringLiteral("；"));
}

// Keys or groups besides the format and the profiles: something was written
// here, by this program or by damage.
bool holds_anything(QSettings &store)
{
    QStringList groups = store.childGroups();
    groups.removeAll(profiles_group);
    return !groups.isEmpty() || !store.childKeys().isEmpty();
}

} // namespace

void write_station_settings(QSettings &store, const StationSettings &settings)
{
    const QVariantMap map = settings.to_map();
    for (const QString &key : StationSettings::keys()) {
        const auto found = map.constFind(key);
        if (found == map.constEnd())
            store.remove(key);
        else
            store.setValue(key, *found);
    }
    store.setValue(QLatin1String(format_key), settings_format);
}

StationSettings read_station_settings(QSettings &store, QString *message)
{
    QVariantMap map;
    for (const QString &key : StationSettings::keys()) {
        if (store.contains(key))
            map.insert(key, store.value(key));
    }
    QStringList problems;
    const StationSettings settings = StationSettings::from_map(map, &problems);

    bool damaged = store.status() != QSettings::NoError;
    bool later = false;
    if (store.contains(QLatin1String(format_key))) {
        bool ok = false;
        const int format = store.value(QLatin1String(format_key)).toString().toInt(&ok);
        damaged = damaged || !ok;
        later = ok && format > settings_format;
    } else {
        // Anything else without the format key is not what this program wrote.
        damaged = damaged || holds_anything(store);
    }
    if (message)
        *message = load_message(damaged, later, problems);
    return settings;
}

bool holds_station_settings(QSettings &store)
{
    return store.contains(QLatin1String(format_key));
}
