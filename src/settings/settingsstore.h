#ifndef SETTINGSSTORE_H
#define SETTINGSSTORE_H

#include "settingsfile.h"
#include "stationsettings.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

// The program's settings and its named profiles, in an INI file in the
// user's configuration folder. Nothing is written unless a save, a profile
// change or an import is asked for, so a run that does not load (started
// with --defaults) leaves the stored settings as they were.
class SettingsStore
{
    Q_DECLARE_TR_FUNCTIONS(SettingsStore)

public:
    SettingsStore(const QString &organisation = QStringLiteral("svterminal"),
                  const QString &application = QStringLiteral("svterminal"));
    ~SettingsStore();

    QString file_name() const;

    // The stored settings; see read_station_settings() for *message. Never
    // fails: what cannot be read is left unset. Call it before anything else
    // opens the file: Qt tells only the first reader that it is damaged.
    StationSettings load(QString *message = nullptr);
    // The same, with what could not be read kept apart from its wording.
    StationSettings load(SettingsProblems *problems);
    // Writes the settings now; false when the file could not be written.
    bool save(const StationSettings &settings);
    // Writes only when they differ from what was last loaded or saved, so it
    // can be called on every change.
    bool save_if_changed(const StationSettings &settings);
    // Takes these as what is stored without writing them (a run that did not
    // load, to write only what the user then changes).
    void mark_saved(const StationSettings &settings) { saved = settings; }

    // Profile names, decoded and sorted.
    QStringList profiles() const;
    // Replaces a profile of the same name. A name is any text that is not blank.
    bool save_profile(const QString &name, const StationSettings &settings);
    // Nothing when there is no such profile; *message as for load().
    std::optional<StationSettings> load_profile(const QString &name, QString *message = nullptr);
    std::optional<StationSettings> load_profile(const QString &name, SettingsProblems *problems);
    bool remove_profile(const QString &name);
    // A profile as an INI file of its own, to carry to another computer.
    bool export_profile(const QString &name, const QString &file, QString *error = nullptr);
    // A file written by export_profile() saved as the profile `name`. *error
    // receives why it failed, or a line about values that could not be read.
    bool import_profile(const QString &file, const QString &name, QString *error = nullptr);

private:
    std::unique_ptr<QSettings> open() const;
    static QString profile_group(const QString &name);

    QString organisation, application;
    mutable QString path; // known once the file was first opened
    std::optional<StationSettings> saved; // what the file holds, as far as known
};

#endif
