#ifndef SIM_LINES_H
#define SIM_LINES_H

#include <chrono>
#include <random>
#include <string>

// The water at the sensor: a slow swing of half a degree over ten minutes,
// as layers drift past, plus a little sensor noise.
class WaterModel
{
public:
    WaterModel(double base_temperature, std::mt19937 &random);

    // Rounded to what is printed, so the speed on a line matches the
    // temperature on it.
    double temperature(std::mt19937 &random) const;

private:
    double base;
    double phase;
    std::chrono::steady_clock::time_point started;
};

bool one_in(int n, std::mt19937 &random);

// "$ <speed> <temperature>\r\n", or "$ <speed>\r\n" without the temperature.
std::string measurement_line(double speed, double temperature, bool with_temperature);

// A line in one of the shapes a parser has to cope with; some of them are
// still measurements, see is_measurement().
std::string malformed_line(double speed, double temperature, bool with_temperature,
                           std::mt19937 &random);

// Junk between lines: printable bytes and NULs, never a "$", sometimes
// ending in "\r\n".
std::string garbage_bytes(std::mt19937 &random);

// Whether the terminal takes line (ending "\r\n") as a measurement: from its
// last "$", one character skipped unless it starts a number, then one or two
// decimal numbers separated by single blanks.
bool is_measurement(const std::string &line);

#endif
