#ifndef SETTINGSFILE_H
#define SETTINGSFILE_H

#include "stationsettings.h"

class QSettings;

// The layout of the stored settings; a later program that changes what a key
// means writes a higher number.
const int settings_format = 1;

// Station settings in the current group of a QSettings: the program's own
// settings at the top, a profile in its group, an exported profile in a file
// of its own.

// Writes the fields that are set and removes the keys of those that are not,
// so they read back unset. Keys this program does not know are left alone.
void write_station_settings(QSettings &store, const StationSettings &settings);

// What could not be read, kept apart from its wording so that the pane can
// say it in the language chosen after the file was read.
struct SettingsProblems
{
    bool damaged = false; // the file, or the format key, could not be read
    bool later = false; // a later program's settings
    QStringList keys; // values of the wrong type or out of range
    QString kept_copy; // where the damaged file was kept, if it was
    QString missing_profile; // a profile asked for that is not there

    // Something could not be read (or used): the next save would lose it.
    bool lossy() const { return damaged || !keys.isEmpty(); }
    // One line for the status pane; empty when all was read.
    QString text() const;
};
StationSettings read_station_settings(QSettings &store, SettingsProblems *problems);

// What can be read. *message receives one line for the status pane when
// something could not be (an unreadable file, a later program's settings, a
// value of the wrong type or out of range), else it is cleared. Keys that are
// simply missing leave their fields unset without a word: they are what a
// first run or an earlier version looks like.
// *damaged: something there could not be read (the file, or a value), so
// what is written next would lose it.
StationSettings read_station_settings(QSettings &store, QString *message, bool *damaged = nullptr);

// Whether the current group holds settings this program wrote (it has the
// format key).
bool holds_station_settings(QSettings &store);

#endif
