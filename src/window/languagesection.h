#ifndef LANGUAGESECTION_H
#define LANGUAGESECTION_H

#include "settingssection.h"

class QComboBox;
class QLabel;
class QPushButton;

// The interface language, a row of the data section. The window is built in
// one language, so another one applies from the next start; the row offers
// to start again now.
class LanguageSection : public SettingsSection
{
    Q_OBJECT

public:
    explicit LanguageSection(QWidget *parent = nullptr);

    void show_current() override;

private:
    void chosen(int index);
    void restart();

    QComboBox *choice;
    QLabel *note;
    QPushButton *restart_button;
};

#endif
