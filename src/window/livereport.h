#ifndef LIVEREPORT_H
#define LIVEREPORT_H

#include "reviewlog.h"

class TrendModel;

// The live readings the model holds (the last two hours at most) as a log
// read back, so the session report can be made of them when nothing is
// recorded. Its notes say what it lacks: the readings before, the times of
// malformed lines, the events.
ReviewLog review_log_from(const TrendModel &model);

#endif
