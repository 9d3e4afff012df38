#ifndef MACKENZIE_H
#define MACKENZIE_H

// Speed of sound in sea water in m/s, after Mackenzie (1981).
// t: temperature in degrees Celsius, s: salinity in PSU, d: depth in metres.
inline double mackenzie_speed(double t, double s, double d)
{
    return 1448.96 + 4.591 * t - 5.304e-2 * t * t + 2.374e-4 * t * t * t + 1.340 * (s - 35.0)
        + 1.630e-2 * d + 1.675e-7 * d * d - 1.025e-2 * t * (s - 35.0) - 7.139e-13 * t * d * d * d;
}

#endif
