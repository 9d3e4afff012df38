#ifndef FIGURETEXT_H
#define FIGURETEXT_H

#include <QString>

// Figures as the trend tab, the review window and the report write them, so
// the three agree.

// What stands where there is no figure.
extern const char no_figure[];

// A figure with its decimals, or the dash when it is not a number.
QString figure_text(double value, int decimals = 3);
// A duration: tenths of a second under a minute ("7.3 秒"), so a gap just
// past a 3 s deadline does not read as 3 s; h:mm:ss from a minute on.
QString duration_text(qint64 ms);

#endif
