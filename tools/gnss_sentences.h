#ifndef GNSS_SENTENCES_H
#define GNSS_SENTENCES_H

#include <string>

// A position in whole units of 10^-7 degree. NMEA minutes with six decimals
// hold any such position exactly (10^-7 degree is 6 * 10^-6 minute), so what
// the simulator records is exactly what a correct reader gets back.
struct SimPosition
{
    long long latitude_units = 0, longitude_units = 0;
};

// "12.3456789", "-0.0000001": units of 10^-7 degree as decimal degrees.
std::string degrees_text(long long units);

// "$" + body + "*hh"; with wrong_checksum the checksum is off by one.
std::string nmea_framed(const std::string &body, bool wrong_checksum);

// Bodies (between "$" and "*") for one epoch at gnss_ms, milliseconds since
// the epoch, UTC. With fix false, GGA and RMC say the fix is void.
std::string gga_body(const std::string &talker, long long gnss_ms, const SimPosition &position,
                     bool fix);
std::string rmc_body(const std::string &talker, long long gnss_ms, const SimPosition &position,
                     bool fix, double speed_knots, double course_deg);
std::string zda_body(const std::string &talker, long long gnss_ms);

#endif
