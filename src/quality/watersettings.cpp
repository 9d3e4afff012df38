#include "watersettings.h"

#include "soundspeed.h"

void WaterSettings::set_salinity(double value)
{
    if (value == water_salinity)
        return;
    water_salinity = value;
    emit changed();
}

void WaterSettings::set_depth(double value)
{
    if (value == water_depth)
        return;
    water_depth = value;
    emit changed();
}

int WaterSettings::take(const Measurement &measurement)
{
    const Reading &reading = measurement.reading;
    const double depth = probe_depth(reading.depth_m, reading.pressure_dbar);
    const bool switched = std::isfinite(depth) != std::isfinite(measured);
    measured = depth;
    if (switched)
        emit changed();
    return 0;
}
