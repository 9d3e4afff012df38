#include "soundspeed.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

const double not_a_number = std::numeric_limits<double>::quiet_NaN();

// Widest salinity an operator could mean; one bracket serves every search.
const double salinity_low = 0.0;
const double salinity_high = 50.0;

// One decibar of pressure is this many kg/cm^2 (1 kgf/cm^2 = 98.0665 kPa).
const double decibars_per_kg_cm2 = 9.80665;

const double radians_per_degree = 3.14159265358979323846 / 180.0;

template<std::size_t N> double horner(const std::array<double, N> &coefficients, double x)
{
    double sum = 0.0;
    for (std::size_t i = N; i-- > 0;)
        sum = sum * x + coefficients[i];
    return sum;
}

bool between(double value, double low, double high)
{
    return low <= value && value <= high; // false for NaN
}

// Coefficients as tabulated by Wong and Zhu (1995) for ITS-90, lowest power
// of temperature first; one array per power of pressure (bar).
const std::array<double, 6> unesco_c0{1402.388,  5.03830,     -5.81090e-2,
                                      3.3432e-4, -1.47797e-6, 3.1419e-9};
const std::array<double, 5> unesco_c1{0.153563, 6.8999e-4, -8.1829e-6, 1.3632e-7, -6.1260e-10};
const std::array<double, 5> unesco_c2{3.1260e-5, -1.7111e-6, 2.5986e-8, -2.5353e-10, 1.0415e-12};
const std::array<double, 3> unesco_c3{-9.7729e-9, 3.8513e-10, -2.3654e-12};
const std::array<double, 5> unesco_a0{1.389, -1.262e-2, 7.166e-5, 2.008e-6, -3.21e-8};
const std::array<double, 5> unesco_a1{9.4742e-5, -1.2583e-5, -6.4928e-8, 1.0515e-8, -2.0142e-10};
const std::array<double, 4> unesco_a2{-3.9064e-7, 9.1061e-9, -1.6009e-10, 7.994e-12};
const std::array<double, 3> unesco_a3{1.100e-10, 6.651e-12, -3.391e-13};

// Salinity in [0, 50] of the lowest speed. UNESCO and Mackenzie rise with
// salinity throughout, so that is 0; Del Grosso's cross terms, fitted only
// from 30 to 40 PSU, make it fall first under pressure in warm water (at
// 30 degC and 900 kg/cm^2 the turn is near 31 PSU). Speed has a single
// minimum in salinity for all three, which a golden-section search finds.
double salinity_of_lowest_speed(SoundEquation equation, double temperature, double depth)
{
    auto speed
        = [&](double salinity) { return sound_speed(equation, salinity, temperature, depth); };
    const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
    double low = salinity_low;
    double high = salinity_high;
    // 60 steps shrink the bracket by 0.618^60, to about 1e-11 PSU.
    for (int i = 0; i < 60; ++i) {
        const double left = high - ratio * (high - low);
        const double right = low + ratio * (high - low);
        if (speed(left) < speed(right))
            high = right;
        else
            low = left;
    }
    const double found = 0.5 * (low + high);
    return speed(salinity_low) <= speed(found) ? salinity_low : found;
}

} // namespace

double unesco_speed(double salinity, double temperature, double pressure)
{
    const double t = temperature;
    const double p = pressure / 10.0; // bar
    const double water = horner(unesco_c0, t)
        + p * (horner(unesco_c1, t) + p * (horner(unesco_c2, t) + p * horner(unesco_c3, t)));
    const double a = horner(unesco_a0, t)
        + p * (horner(unesco_a1, t) + p * (horner(unesco_a2, t) + p * horner(unesco_a3, t)));
    const double b = -1.922e-2 - 4.42e-5 * t + (7.3637e-5 + 1.7950e-7 * t) * p;
    const double d = 1.727e-3 - 7.9836e-6 * p;
    // sqrt of a negative salinity is NaN on purpose: there is no such water.
    return water + salinity * (a + b * std::sqrt(salinity) + d * salinity);
}

double del_grosso_speed(double salinity, double temperature, double pressure)
{
    const double s = salinity;
    const double t = temperature;
    const double p = pressure / decibars_per_kg_cm2;
    const double by_t = t * (5.012285 + t * (-5.51184e-2 + t * 2.21649e-4));
    const double by_s = s * (1.329530 + s * 1.288598e-4);
    const double by_p = p * (1.560592e-1 + p * (2.449993e-5 + p * -8.833959e-9));
    const double mixed = t * p
            * (6.353509e-3 + t * t * -4.383615e-7 + p * (-1.593895e-6 + t * 2.656174e-8)
               + p * p * 5.222483e-10)
        + s * t * (-1.275936e-2 + t * 9.688441e-5 + p * (-3.406824e-4 + s * 4.857614e-6))
        + s * s * p * p * -1.616745e-9;
    return 1402.392 + by_t + by_s + by_p + mixed;
}

double mackenzie_speed(double temperature, double salinity, double depth)
{
    const double t = temperature;
    const double s = salinity - 35.0;
    const double d = depth;
    return 1448.96 + t * (4.591 + t * (-5.304e-2 + t * 2.374e-4)) + 1.340 * s
        + d * (1.630e-2 + d * 1.675e-7) - 1.025e-2 * t * s - 7.139e-13 * t * d * d * d;
}

static const double saunders_c2 = 2.21e-6;

static double saunders_c1(double latitude)
{
    const double sine = std::sin(latitude * radians_per_degree);
    return (5.92 + 5.25 * sine * sine) * 1e-3;
}

double pressure_from_depth(double depth, double latitude)
{
    const double c1 = saunders_c1(latitude), c2 = saunders_c2;
    // Saunders: depth = (1 - c1) p - c2 p^2, solved for the root near zero.
    return ((1.0 - c1) - std::sqrt((1.0 - c1) * (1.0 - c1) - 4.0 * c2 * depth)) / (2.0 * c2);
}

double depth_from_pressure(double pressure, double latitude)
{
    return (1.0 - saunders_c1(latitude)) * pressure - saunders_c2 * pressure * pressure;
}

double probe_depth(double depth, double pressure)
{
    if (std::isfinite(depth) || !std::isfinite(pressure))
        return depth;
    return depth_from_pressure(pressure);
}

double sound_speed(SoundEquation equation, double salinity, double temperature, double depth)
{
    switch (equation) {
    case SoundEquation::unesco:
        return unesco_speed(salinity, temperature, pressure_from_depth(depth));
    case SoundEquation::del_grosso:
        return del_grosso_speed(salinity, temperature, pressure_from_depth(depth));
    case SoundEquation::mackenzie:
        return mackenzie_speed(temperature, salinity, depth);
    }
    return not_a_number;
}

bool within_validity(SoundEquation equation, double salinity, double temperature, double depth)
{
    const double pressure = pressure_from_depth(depth);
    switch (equation) {
    case SoundEquation::unesco: // Wong and Zhu (1995): 0-40 degC, 0-40 PSU, 0-1000 bar
        return between(temperature, 0.0, 40.0) && between(salinity, 0.0, 40.0)
            && between(pressure, 0.0, 10000.0);
    case SoundEquation::del_grosso: // 0-30 degC, 30-40 PSU, 0-1000 kg/cm^2
        return between(temperature, 0.0, 30.0) && between(salinity, 30.0, 40.0)
            && between(pressure / decibars_per_kg_cm2, 0.0, 1000.0);
    case SoundEquation::mackenzie: // Mackenzie (1981): -2-30 degC, 25-40 PSU, 0-8000 m
        return between(temperature, -2.0, 30.0) && between(salinity, 25.0, 40.0)
            && between(depth, 0.0, 8000.0);
    }
    return false;
}

double implied_salinity(SoundEquation equation, double speed, double temperature, double depth)
{
    auto excess = [&](double salinity) {
        return sound_speed(equation, salinity, temperature, depth) - speed;
    };
    if (!std::isfinite(excess(salinity_low)) || !std::isfinite(excess(salinity_high)))
        return not_a_number;
    // Only the branch where speed rises with salinity, as it does in real sea
    // water, answers; below its lowest speed no salinity gives `speed`.
    double low = salinity_of_lowest_speed(equation, temperature, depth);
    double high = salinity_high;
    if (excess(low) > 0.0 || excess(high) < 0.0)
        return not_a_number;
    // Bisection: 60 halvings take the bracket below 1e-16 PSU, or stop
    // earlier once the midpoint no longer moves.
    for (int i = 0; i < 60; ++i) {
        const double middle = 0.5 * (low + high);
        if (middle <= low || middle >= high)
            break;
        if (excess(middle) < 0.0)
            low = middle;
        else
            high = middle;
    }
    return 0.5 * (low + high);
}

const char *equation_name(SoundEquation equation)
{
    switch (equation) {
    case SoundEquation::unesco:
        return "UNESCO";
    case SoundEquation::del_grosso:
        return "Del Grosso";
    case SoundEquation::mackenzie:
        return "Mackenzie";
    }
    return "?";
}
