#include "gnss_sentences.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

static const long long units_per_degree = 10000000;

std::string degrees_text(long long units)
{
    char text[32];
    const long long magnitude = std::llabs(units);
    std::snprintf(text, sizeof text, "%s%lld.%07lld", units < 0 ? "-" : "",
                  magnitude / units_per_degree, magnitude % units_per_degree);
    return text;
}

// "ddmm.mmmmmm,N" or "dddmm.mmmmmm,E", exact.
static std::string nmea_coordinate(long long units, int degree_digits, char positive, char negative)
{
    const long long magnitude = std::llabs(units);
    const long long micro_minutes = (magnitude % units_per_degree) * 6;
    char text[40];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%06lld,%c", degree_digits,
                  magnitude / units_per_degree, micro_minutes / 1000000, micro_minutes % 1000000,
                  units < 0 ? negative : positive);
    return text;
}

std::string nmea_framed(const std::string &body, bool wrong_checksum)
{
    unsigned char sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    if (wrong_checksum)
        sum = static_cast<unsigned char>(sum + 1);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X", sum);
    return "$" + body + tail;
}

static std::tm utc_of(long long gnss_ms)
{
    const std::time_t seconds = std::time_t(gnss_ms / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    return utc;
}

static std::string time_field(long long gnss_ms)
{
    const std::tm utc = utc_of(gnss_ms);
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d.%02lld", utc.tm_hour, utc.tm_min, utc.tm_sec,
                  gnss_ms % 1000 / 10);
    return text;
}

std::string gga_body(const std::string &talker, long long gnss_ms, const SimPosition &position,
                     bool fix)
{
    const std::string time = time_field(gnss_ms);
    if (!fix)
        return talker + "GGA," + time + ",,,,,0,00,99.9,,M,,M,,";
    return talker + "GGA," + time + "," + nmea_coordinate(position.latitude_units, 2, 'N', 'S')
        + "," + nmea_coordinate(position.longitude_units, 3, 'E', 'W') + ",1,10,0.9,12.3,M,8.5,M,,";
}

std::string rmc_body(const std::string &talker, long long gnss_ms, const SimPosition &position,
                     bool fix, double speed_knots, double course_deg)
{
    const std::tm utc = utc_of(gnss_ms);
    char date[32];
    std::snprintf(date, sizeof date, "%02d%02d%02d", utc.tm_mday, utc.tm_mon + 1,
                  utc.tm_year % 100);
    const std::string time = time_field(gnss_ms);
    if (!fix)
        return talker + "RMC," + time + ",V,,,,,,," + date + ",,,N";
    char motion[40];
    std::snprintf(motion, sizeof motion, "%.1f,%.1f", speed_knots, course_deg);
    return talker + "RMC," + time + ",A," + nmea_coordinate(position.latitude_units, 2, 'N', 'S')
        + "," + nmea_coordinate(position.longitude_units, 3, 'E', 'W') + "," + motion + "," + date
        + ",,,A";
}

std::string zda_body(const std::string &talker, long long gnss_ms)
{
    const std::tm utc = utc_of(gnss_ms);
    char date[64];
    std::snprintf(date, sizeof date, ",%02d,%02d,%04d,00,00", utc.tm_mday, utc.tm_mon + 1,
                  utc.tm_year + 1900);
    return talker + "ZDA," + time_field(gnss_ms) + date;
}
