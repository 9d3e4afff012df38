#ifndef STARTUP_H
#define STARTUP_H

#include "settingsfile.h"
#include "startoptions.h"
#include "stationsettings.h"

#include <QTextStream>

class frmain;
class SettingsStore;

// The settings a start begins from, read once (the file tells only its
// first reader that it is damaged): the remembered ones, a profile's, or
// none with --defaults.
struct StartSettings
{
    std::optional<StationSettings> settings;
    SettingsProblems problems; // said in the pane, in the language then chosen
};
StartSettings read_start_settings(SettingsStore &store, const StartOptions &options);
// The language to start in: --lang, else the one remembered, else Chinese.
QString start_language(const StartOptions &options, const StartSettings &start);

// What a start asks for, put into the window as an operator would have
// chosen it: the remembered settings or a profile (neither with
// --defaults), then the command line; the 设置 tab; and the settings kept
// as they change (not with --defaults, which leaves the file as it was).
void prepare_window(frmain &window, SettingsStore &store, const StartOptions &options,
                    const StartSettings &start);
// The same, reading the settings itself.
void prepare_window(frmain &window, SettingsStore &store, const StartOptions &options);
// Once the window is shown: opens the port and starts recording when asked;
// what fails is said on err as well as in the window.
void start_unattended(frmain &window, const StartOptions &options, QTextStream &err);

#endif
