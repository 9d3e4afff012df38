#ifndef INPUTSECTION_H
#define INPUTSECTION_H

#include "settingssection.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class Station;

// What the window says once automatic recognition has decided.
QString recognised_format_text(const QString &name);

// What the instrument's lines are read as: recognised from the lines (the
// default) or one format by name, checksums ignored or not, and the start
// text for a probe chosen by name; below them the format read now.
class InputSection : public SettingsSection
{
    Q_OBJECT

public:
    explicit InputSection(Station *station, QWidget *parent = nullptr);

    void show_current() override;

private:
    void apply();
    void show_format();

    Station *station;
    QComboBox *format;
    QCheckBox *ignore_checksums;
    QLineEdit *start_text;
    QLabel *now_reading;
};

#endif
