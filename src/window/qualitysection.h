#ifndef QUALITYSECTION_H
#define QUALITYSECTION_H

#include "settingssection.h"

class QLineEdit;
class QualityCheck;

// The limits every reading is judged by: the range a speed may have and how
// far it may jump from the median of the readings before it. A reading
// outside them is flagged: a red dot on the trend, held back by the outputs
// that send good readings only, counted by the range and spike alarms. The
// one place they are set; 应用 (or leaving a field) applies them and says
// what is in force, or what is wrong while the limits before stay.
class QualitySection : public SettingsSection
{
    Q_OBJECT

public:
    explicit QualitySection(QualityCheck *quality, QWidget *parent = nullptr);

    void show_current() override;

private:
    void apply();

    QualityCheck *quality;
    QLineEdit *low_edit, *high_edit, *spike_edit;
};

// The limits in force in a few words: "1400–1600 m/s，跳变 2 m/s".
QString limits_text(const QualityCheck &quality);

#endif
