#ifndef DATASECTION_H
#define DATASECTION_H

#include "settingssection.h"

class LanguageSection;
class QCheckBox;
class frmain;

// How the readings are taken in, kept and shown: the block average of good
// readings only, the pane's arrival times, the timestamped line log, the
// interface language.
class DataSection : public SettingsSection
{
    Q_OBJECT

public:
    explicit DataSection(frmain *window, QWidget *parent = nullptr);

    void show_current() override;

private:
    QCheckBox *option(const QString &text, const QString &tip);

    frmain *window;
    QCheckBox *good_only, *arrival_times, *line_log;
    LanguageSection *language;
};

#endif
