#ifndef DATASECTION_H
#define DATASECTION_H

#include "settingssection.h"

class QCheckBox;
class Station;

// How the readings are taken in: the block average of good readings only.
class DataSection : public SettingsSection
{
    Q_OBJECT

public:
    explicit DataSection(Station *station, QWidget *parent = nullptr);

    void show_current() override;

private:
    Station *station;
    QCheckBox *good_only;
};

#endif
