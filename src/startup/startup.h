#ifndef STARTUP_H
#define STARTUP_H

#include "startoptions.h"

#include <QTextStream>

class frmain;
class SettingsStore;

// What a start asks for, put into the window as an operator would have
// chosen it: the remembered settings or a profile (neither with
// --defaults), then the command line; the 设置 tab; and the settings kept
// as they change (not with --defaults, which leaves the file as it was).
void prepare_window(frmain &window, SettingsStore &store, const StartOptions &options);
// Once the window is shown: opens the port and starts recording when asked;
// what fails is said on err as well as in the window.
void start_unattended(frmain &window, const StartOptions &options, QTextStream &err);

#endif
