#ifndef STARTUP_H
#define STARTUP_H

#include "startoptions.h"

class frmain;
class SettingsStore;

// Puts what the command line asked for into the window, as an operator
// would have chosen it; opening waits until the window is shown.
void apply_start_options(frmain &window, const StartOptions &options);
void open_if_asked(frmain &window, const StartOptions &options);
// Applies the remembered settings or the profile, and says once in the pane
// what could not be read.
void load_settings(frmain &window, SettingsStore &store, const StartOptions &options);
// The 设置 tab, and the settings written when they change and on quitting.
void keep_settings(frmain &window, SettingsStore &store, const StartOptions &options);

#endif
