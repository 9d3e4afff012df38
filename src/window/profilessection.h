#ifndef PROFILESSECTION_H
#define PROFILESSECTION_H

#include "settingssection.h"
#include "stationsettings.h"

class frmain;
class QComboBox;
class SettingsStore;

// Named profiles of the station's settings: save, load, delete, export to an
// .ini file and import one. Saving over a profile and loading one over
// settings changed since the last save or load ask first.
class ProfilesSection : public SettingsSection
{
    Q_OBJECT

public:
    // baseline: what the station started with, for telling whether the
    // operator changed anything before a profile was saved or loaded.
    ProfilesSection(frmain *window, SettingsStore *store, const StationSettings &baseline,
                    QWidget *parent = nullptr);

    void show_current() override;

signals:
    // A profile was applied: the other sections show it.
    void loaded();

private:
    void act(int action);
    void save(const QString &name);
    void load(const QString &name);
    void exchange(int action, const QString &name);
    bool changed_since_baseline() const;

    frmain *window;
    SettingsStore *store;
    StationSettings baseline;
    QComboBox *profile;
};

#endif
