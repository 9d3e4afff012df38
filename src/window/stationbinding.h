#ifndef STATIONBINDING_H
#define STATIONBINDING_H

#include "stationsettings.h"

class frmain;
class QComboBox;
class QVariant;

// Picks the item carrying value as its data; false when none does.
bool choose_item(QComboBox *choice, const QVariant &value);

// What the window is set to, as settings to remember or a profile to save,
// and back: every field that is set goes into the same control an operator
// would use. The port's line settings are not changed while it is open.
StationSettings collect_station_settings(frmain &window);
// Problems with fields that could not be applied go to *problems.
void apply_station_settings(frmain &window, const StationSettings &settings, QStringList *problems);

#endif
