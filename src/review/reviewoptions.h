#ifndef REVIEWOPTIONS_H
#define REVIEWOPTIONS_H

#include <QtGlobal>

// What reading a file back and its figures depend on beyond the file itself.
struct ReviewOptions
{
    // A raw recording has no judged quality: its readings are judged again
    // with these, as the live display would have with the same settings.
    double range_low = 1400.0;
    double range_high = 1600.0;
    double spike_threshold = 2.0;
    // A pause between readings longer than this is a gap.
    qint64 stale_ms = 3000;
    // The water the measured speed is checked against.
    double salinity = 35.0;
    double depth = 0.0;
};

#endif
