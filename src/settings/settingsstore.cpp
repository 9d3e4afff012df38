#include "settingsstore.h"

#include "settingsfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace {

const QString profiles_prefix = QStringLiteral("profiles/");

void set_text(QString *out, const QString &text)
{
    if (out)
        *out = text;
}

// Only an access error means the file was not written; a format error is
// the damage that was there before, which the write has just replaced.
bool written(QSettings &store)
{
    store.sync();
    return store.status() != QSettings::AccessError;
}

} // namespace

SettingsStore::SettingsStore(const QString &organisation, const QString &application)
    : organisation(organisation), application(application)
{
}

SettingsStore::~SettingsStore() = default;

// A fresh QSettings each time so its status speaks of this one access. Qt
// keeps the parsed file in memory and rereads it only when it changed, and
// only the QSettings that parsed it hears of a format error; so the file is
// not opened before it is needed, and load() at the start is the first.
std::unique_ptr<QSettings> SettingsStore::open() const
{
    if (!path.isEmpty())
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    auto store = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             organisation, application);
    store->setFallbacksEnabled(false); // nothing from the system's or the organisation's file
    path = store->fileName();
    return store;
}

QString SettingsStore::file_name() const
{
    if (path.isEmpty())
        open();
    return path;
}

// Percent-encoded, so a "/" or "\" in a name cannot make it a group path.
QString SettingsStore::profile_group(const QString &name)
{
    return profiles_prefix + QString::fromLatin1(name.toUtf8().toPercentEncoding());
}

StationSettings SettingsStore::load(QString *message)
{
    SettingsProblems problems;
    const StationSettings settings = load(&problems);
    set_text(message, problems.text());
    return settings;
}

StationSettings SettingsStore::load(SettingsProblems *problems)
{
    SettingsProblems found;
    const auto store = open();
    const StationSettings settings = read_station_settings(*store, &found);
    // What could not be read is written again at the next save; the file as
    // it was is kept first, for whoever wants to see what was lost.
    if (found.lossy() || found.later)
        saved.reset();
    else
        saved = settings;
    if (found.lossy()) {
        const QString copy = file_name() + QStringLiteral(".damaged-")
            + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmssZ"));
        if (QFile::copy(file_name(), copy))
            found.kept_copy = copy;
    }
    if (problems)
        *problems = found;
    return settings;
}

bool SettingsStore::save(const StationSettings &settings)
{
    const auto store = open();
    write_station_settings(*store, settings);
    if (!written(*store))
        return false;
    saved = settings;
    return true;
}

bool SettingsStore::save_if_changed(const StationSettings &settings)
{
    return (saved && *saved == settings) || save(settings);
}

QStringList SettingsStore::profiles() const
{
    const auto store = open();
    store->beginGroup(profiles_prefix);
    QStringList names;
    for (const QString &group : store->childGroups())
        names << QString::fromUtf8(QByteArray::fromPercentEncoding(group.toLatin1()));
    std::sort(names.begin(), names.end());
    return names;
}

bool SettingsStore::save_profile(const QString &name, const StationSettings &settings)
{
    if (name.trimmed().isEmpty())
        return false;
    const auto store = open();
    store->remove(profile_group(name));
    store->beginGroup(profile_group(name));
    write_station_settings(*store, settings);
    store->endGroup();
    return written(*store);
}

std::optional<StationSettings> SettingsStore::load_profile(const QString &name, QString *message)
{
    SettingsProblems problems;
    const std::optional<StationSettings> settings = load_profile(name, &problems);
    set_text(message, problems.text());
    return settings;
}

std::optional<StationSettings> SettingsStore::load_profile(const QString &name,
                                                           SettingsProblems *problems)
{
    const auto store = open();
    store->beginGroup(profile_group(name));
    if (!holds_station_settings(*store)) {
        if (problems)
            problems->missing_profile = name;
        return std::nullopt;
    }
    return read_station_settings(*store, problems);
}

bool SettingsStore::remove_profile(const QString &name)
{
    const auto store = open();
    store->beginGroup(profile_group(name));
    const bool found = holds_station_settings(*store);
    store->endGroup();
    if (!found)
        return false;
    store->remove(profile_group(name));
    return written(*store);
}

bool SettingsStore::export_profile(const QString &name, const QString &file, QString *error)
{
    const std::optional<StationSettings> settings = load_profile(name, error);
    if (!settings)
        return false;
    QSettings exported(file, QSettings::IniFormat);
    exported.clear();
    write_station_settings(exported, *settings);
    if (!written(exported)) {
        set_text(error, tr("无法写入文件 %1").arg(file));
        return false;
    }
    set_text(error, QString());
    return true;
}

bool SettingsStore::import_profile(const QString &file, const QString &name, QString *error)
{
    if (name.trimmed().isEmpty()) {
        set_text(error, tr("配置名称不能为空"));
        return false;
    }
    if (!QFileInfo(file).isReadable()) {
        set_text(error, tr("无法读取文件 %1").arg(file));
        return false;
    }
    QSettings imported(file, QSettings::IniFormat);
    if (!holds_station_settings(imported)) {
        set_text(error, tr("%1 不是本程序导出的配置").arg(file));
        return false;
    }
    const StationSettings settings = read_station_settings(imported, error);
    if (save_profile(name, settings))
        return true;
    set_text(error, tr("无法保存配置“%1”").arg(name));
    return false;
}
