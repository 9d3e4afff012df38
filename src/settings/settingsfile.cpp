#include "settingsfile.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

const char *const format_key = "format";
// Where the settings store keeps its profiles; never station settings.
const QString profiles_group = QStringLiteral("profiles");

// Keys or groups besides the format and the profiles: something was written
// here, by this program or by damage.
bool holds_anything(QSettings &store)
{
    QStringList groups = store.childGroups();
    groups.removeAll(profiles_group);
    return !groups.isEmpty() || !store.childKeys().isEmpty();
}

// The outputs, the alarms and the broker are stored key by key, so a person
// can read and edit them and one damaged entry loses only itself:
//   outputs/1/kind=udp, outputs/size=2, alarms/range=true, mqtt/host=...
// Earlier versions kept each as one binary value under these keys.
const QString outputs_key = QStringLiteral("outputs/list");
const QStringList map_keys = {QStringLiteral("alarms/settings"), QStringLiteral("mqtt/settings")};

QString group_of(const QString &key)
{
    return key.section(QLatin1Char('/'), 0, 0);
}

void write_map(QSettings &store, const QVariantMap &map)
{
    for (auto field = map.constBegin(); field != map.constEnd(); ++field)
        store.setValue(field.key(), field.value());
}

QVariantMap read_map(QSettings &store)
{
    QVariantMap map;
    for (const QString &key : store.childKeys())
        map.insert(key, store.value(key));
    return map;
}

void write_structured(QSettings &store, const QString &key, const QVariant &value)
{
    store.remove(group_of(key));
    if (!value.isValid())
        return;
    if (key == outputs_key) {
        const QVariantList outputs = value.toList();
        store.beginWriteArray(group_of(key), outputs.size());
        for (int i = 0; i < outputs.size(); ++i) {
            store.setArrayIndex(i);
            write_map(store, outputs.at(i).toMap());
        }
        store.endArray();
        return;
    }
    store.beginGroup(group_of(key));
    write_map(store, value.toMap());
    store.endGroup();
}

// The stored value as the settings' map holds it, or invalid when none.
QVariant read_structured(QSettings &store, const QString &key)
{
    if (store.contains(key))
        return store.value(key); // as an earlier version wrote it
    const QString group = group_of(key);
    if (key == outputs_key) {
        if (!store.contains(group + QLatin1String("/size")))
            return QVariant();
        QVariantList outputs;
        const int count = store.beginReadArray(group);
        for (int i = 0; i < count; ++i) {
            store.setArrayIndex(i);
            outputs << read_map(store);
        }
        store.endArray();
        return outputs;
    }
    store.beginGroup(group);
    const QVariantMap map = read_map(store);
    store.endGroup();
    return map.isEmpty() ? QVariant() : QVariant(map);
}

bool structured(const QString &key)
{
    return key == outputs_key || map_keys.contains(key);
}

} // namespace

void write_station_settings(QSettings &store, const StationSettings &settings)
{
    const QVariantMap map = settings.to_map();
    for (const QString &key : StationSettings::keys()) {
        const auto found = map.constFind(key);
        if (structured(key))
            write_structured(store, key, found == map.constEnd() ? QVariant() : *found);
        else if (found == map.constEnd())
            store.remove(key);
        else
            store.setValue(key, *found);
    }
    store.setValue(QLatin1String(format_key), settings_format);
}

QString SettingsProblems::text() const
{
    if (!missing_profile.isEmpty())
        return QCoreApplication::translate("SettingsStore", "没有名为“%1”的配置")
            .arg(missing_profile);
    QStringList parts;
    if (damaged)
        parts << QCoreApplication::translate("SettingsFile",
                                             "设置文件已损坏，能读取的设置已恢复，其余使用默认值");
    if (later)
        parts << QCoreApplication::translate(
            "SettingsFile", "设置由较新版本的程序保存，能读取的设置已恢复，其余使用默认值");
    if (!keys.isEmpty())
        parts << QCoreApplication::translate("SettingsFile", "部分设置无法读取，已使用默认值：%1")
                     .arg(keys.join(QCoreApplication::translate("SettingsFile", "、")));
    const QString said = parts.join(QCoreApplication::translate("SettingsFile", "；"));
    if (kept_copy.isEmpty())
        return said;
    return QCoreApplication::translate("SettingsStore", "%1（原文件已另存为 %2）")
        .arg(said, kept_copy);
}

StationSettings read_station_settings(QSettings &store, QString *message, bool *damaged_out)
{
    SettingsProblems problems;
    const StationSettings settings = read_station_settings(store, &problems);
    if (message)
        *message = problems.text();
    if (damaged_out)
        *damaged_out = problems.lossy();
    return settings;
}

StationSettings read_station_settings(QSettings &store, SettingsProblems *out)
{
    QVariantMap map;
    for (const QString &key : StationSettings::keys()) {
        const QVariant value = structured(key)
            ? read_structured(store, key)
            : (store.contains(key) ? store.value(key) : QVariant());
        if (value.isValid() || (key == outputs_key && store.contains(key)))
            map.insert(key, value);
    }
    SettingsProblems problems;
    const StationSettings settings = StationSettings::from_map(map, &problems.keys);

    bool &damaged = problems.damaged;
    damaged = store.status() != QSettings::NoError;
    bool &later = problems.later;
    if (store.contains(QLatin1String(format_key))) {
        bool ok = false;
        const int format = store.value(QLatin1String(format_key)).toString().toInt(&ok);
        damaged = damaged || !ok;
        later = ok && format > settings_format;
    } else {
        // Anything else without the format key is not what this program wrote.
        damaged = damaged || holds_anything(store);
    }
    if (out)
        *out = problems;
    return settings;
}

bool holds_station_settings(QSettings &store)
{
    return store.contains(QLatin1String(format_key));
}
