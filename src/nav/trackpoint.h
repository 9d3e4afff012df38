#ifndef TRACKPOINT_H
#define TRACKPOINT_H

#include "qualitycheck.h"

#include <QtGlobal>

#include <cmath>

// One reading with the position it was stamped with.
struct TrackPoint
{
    qint64 utc_ms = 0; // milliseconds since the epoch
    double latitude = 0.0, longitude = 0.0; // decimal degrees, WGS 84
    double speed_m_s = NAN; // sound speed
    double temperature_c = NAN; // NaN: the instrument sent none
    Quality quality = Quality::ok;
};

#endif
