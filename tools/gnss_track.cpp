#include "gnss_track.h"

#include <algorithm>
#include <cmath>

static const double earth_radius_m = 6371008.8;
static const double knot_m_s = 1852.0 / 3600.0;
static const double degrees_per_radian = 180.0 / M_PI;

GnssTrack::GnssTrack(double latitude, double longitude, double speed_knots, double course_deg,
                     double turn_deg_s)
    : latitude(latitude), longitude(longitude), knots(speed_knots), course(course_deg),
      turn(turn_deg_s)
{
}

void GnssTrack::advance(double seconds)
{
    const double distance = knots * knot_m_s * seconds;
    const double heading = course / degrees_per_radian;
    latitude += distance * std::cos(heading) / earth_radius_m * degrees_per_radian;
    latitude = std::clamp(latitude, -89.9, 89.9);
    longitude += distance * std::sin(heading)
        / (earth_radius_m * std::cos(latitude / degrees_per_radian)) * degrees_per_radian;
    // Across the date line the other way round.
    longitude = std::remainder(longitude, 360.0);
    course = std::fmod(course + turn * seconds + 360.0, 360.0);
}

void GnssTrack::jump(double metres)
{
    latitude = std::clamp(latitude + metres / earth_radius_m * degrees_per_radian, -89.9, 89.9);
}

SimPosition GnssTrack::position() const
{
    return SimPosition{std::llround(latitude * 1e7), std::llround(longitude * 1e7)};
}
