#ifndef SETTINGSPANEL_H
#define SETTINGSPANEL_H

#include "stationsettings.h"

#include <QWidget>

class frmain;
class QLabel;
class QListWidget;
class QStackedWidget;
class SettingsSection;
class SettingsStore;

// The 设置 tab: its sections (profiles, alarms, data, publishing...) listed
// on the left, one shown at a time, and one line below them where each
// says what it did or what is wrong.
class SettingsPanel : public QWidget
{
    Q_OBJECT

public:
    // baseline: the settings the station started with.
    SettingsPanel(frmain *window, SettingsStore *store, const StationSettings &baseline,
                  QWidget *parent = nullptr);

    void add_section(const QString &title, SettingsSection *section);
    // Every section follows what the window runs with, e.g. after a profile.
    void show_current();

private:
    void say(const QString &text, bool problem);

    QListWidget *titles;
    QStackedWidget *pages;
    QLabel *message;
    QList<SettingsSection *> sections;
};

#endif
