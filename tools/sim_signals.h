#ifndef SIM_SIGNALS_H
#define SIM_SIGNALS_H

#include <csignal>

// Set by SIGINT, SIGTERM or SIGHUP once catch_stop_signals() ran: the
// simulators finish their loop and clean up their links.
extern volatile std::sig_atomic_t stop_requested;

// Before any link exists, so it is always cleaned up; a vanished reader's
// SIGPIPE is ignored.
void catch_stop_signals();

// --help or -h anywhere among the arguments.
bool asks_for_help(int argc, char **argv);

#endif
