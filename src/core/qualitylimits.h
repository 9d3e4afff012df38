#ifndef QUALITYLIMITS_H
#define QUALITYLIMITS_H

#include <QString>

// Checks the quality limits as the operator typed them: the range minimum and
// maximum and the spike threshold, all in m/s. An empty string with *low,
// *high and *spike set when all three can be used; otherwise what is wrong,
// and the outputs untouched, so the limits in force stay.
QString check_quality_limits(const QString &low_text, const QString &high_text,
                             const QString &spike_text, double *low, double *high, double *spike);

#endif
