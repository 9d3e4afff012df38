#ifndef ALARMSSECTION_H
#define ALARMSSECTION_H

#include "settingssection.h"

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;
class Station;

// The clock offset's limit, in seconds, as both this section and the GNSS
// one offer it.
inline constexpr char offset_limit_caption[] = QT_TRANSLATE_NOOP("AlarmsSection", "时钟偏差上限");
QDoubleSpinBox *new_offset_limit_box();

// Which alarms watch, the spike count and speed difference that raise
// theirs, and how long the alarms raised by readings wait before going off.
class AlarmsSection : public SettingsSection
{
    Q_OBJECT

public:
    explicit AlarmsSection(Station *station, QWidget *parent = nullptr);

    void show_current() override;

private:
    void apply();

    Station *station;
    QList<QCheckBox *> boxes;
    QSpinBox *spike_limit, *clear_after;
    QDoubleSpinBox *difference_limit, *offset_limit;
};

#endif
