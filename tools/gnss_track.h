#ifndef GNSS_TRACK_H
#define GNSS_TRACK_H

#include "gnss_sentences.h"

// The vessel's way: a start, a speed, a course that changes at a steady rate
// of turn, dead-reckoned on a sphere one epoch at a time.
class GnssTrack
{
public:
    GnssTrack(double latitude, double longitude, double speed_knots, double course_deg,
              double turn_deg_s);

    void advance(double seconds);
    // Moves the vessel north (negative: south) at once, as a bad fix would.
    void jump(double metres);

    // Rounded to the 10^-7 degree the sentences carry.
    SimPosition position() const;
    double course_deg() const { return course; }
    double speed_knots() const { return knots; }

private:
    double latitude, longitude, knots, course, turn;
};

#endif
