#ifndef REVIEWTRACK_H
#define REVIEWTRACK_H

#include "reviewlog.h"
#include "trackpoint.h"

#include <QVector>

#include <limits>

// The readings of a recorded log that carry a position, as a track: those
// from from_ms to to_ms inclusive, oldest first. With at_most, every n-th
// only, evenly, so a map of a long night draws a bounded number of dots;
// exports take them all.
QVector<TrackPoint> review_track(const ReviewLog &log,
                                 qint64 from_ms = std::numeric_limits<qint64>::min(),
                                 qint64 to_ms = std::numeric_limits<qint64>::max(),
                                 int at_most = 0);
bool has_positions(const ReviewLog &log);

#endif
