#ifndef STARTUP_H
#define STARTUP_H

#include "startoptions.h"

class frmain;

// Puts what the command line asked for into the window, as an operator
// would have chosen it; opening waits until the window is shown.
void apply_start_options(frmain &window, const StartOptions &options);
void open_if_asked(frmain &window, const StartOptions &options);

#endif
