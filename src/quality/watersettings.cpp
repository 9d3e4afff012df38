#include "watersettings.h"

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
