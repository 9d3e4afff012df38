#ifndef SOUNDSPEED_H
#define SOUNDSPEED_H

// Speed of sound in sea water by the three equations in common use, plain
// C++17 so the instrument simulator can share it with the terminal.
// Units throughout: salinity on the practical scale (PSU), temperature in
// degC on ITS-90, depth in metres (positive down), pressure in decibars
// above the atmosphere, speed in m/s.

enum class SoundEquation { unesco, del_grosso, mackenzie };

// Speed of sound, m/s. Depth is turned into pressure by pressure_from_depth()
// at the default latitude for the equations that take pressure.
// NaN when an input is not finite; UNESCO also gives NaN for salinity < 0.
double sound_speed(SoundEquation equation, double salinity, double temperature, double depth);

// Whether (salinity, temperature, depth) lies inside the range of validity
// the equation's authors published. False for non-finite input.
bool within_validity(SoundEquation equation, double salinity, double temperature, double depth);

// The salinity in [0, 50] at which the equation gives `speed` at this
// temperature and depth; NaN when none does or an input is not finite.
// Del Grosso's speed falls with salinity before it rises when warm water is
// under pressure; the answer is then the one where it rises, as in the sea.
double implied_salinity(SoundEquation equation, double speed, double temperature, double depth);

// Sea pressure in decibars at `depth` metres, by Saunders (1981), "Practical
// conversion of pressure to depth", J. Phys. Oceanogr. 11, 573-574: the
// EOS-80 standard ocean (0 degC, 35 PSU) inverted in closed form.
// The operator gives only depth, so the equations use 45 degrees, midway in
// gravity; at 1000 m the equator or a pole differs from it by 2.7 dbar,
// which moves the sound speed by under 0.05 m/s.
double pressure_from_depth(double depth, double latitude = 45.0);
// Its inverse, Saunders' own form: depth = (1 - c1) p - c2 p^2.
double depth_from_pressure(double pressure, double latitude = 45.0);
// The depth a probe's reading stands for: the depth it gives, else the
// pressure it gives as depth (above, at 45 degrees, so the equations that
// take pressure get it back); NaN when it gives neither.
double probe_depth(double depth, double pressure);

// UNESCO: Chen and Millero (1977) with the ITS-90 coefficients of Wong and
// Zhu (1995), J. Acoust. Soc. Am. 97(3), 1732-1736.
double unesco_speed(double salinity, double temperature, double pressure);

// Del Grosso (1974) "NRL II", with the ITS-90 coefficients of Wong and Zhu
// (1995). Takes decibars; the equation itself works in kg/cm^2.
double del_grosso_speed(double salinity, double temperature, double pressure);

// Mackenzie (1981), J. Acoust. Soc. Am. 70(3), 807-812: the nine-term
// equation in depth. Note the argument order, temperature first, as in
// Mackenzie's c(T, S, D).
double mackenzie_speed(double temperature, double salinity, double depth);

// Short ASCII name for figure legends and CSV headers.
const char *equation_name(SoundEquation equation);

#endif // SOUNDSPEED_H
