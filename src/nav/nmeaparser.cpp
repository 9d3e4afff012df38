#include "nmeaparser.h"

#include "nmeasentence.h"
#include "nmeatime.h"

#include <cstring>

static const double knot_m_s = 1852.0 / 3600.0;
// Mode letters (RMC, GNS, VTG) from the most precise down, and the GGA
// quality each stands for.
static const char modes_by_rank[] = "RFPDAEMS";
static const int quality_of_rank[] = {4, 5, 3, 2, 1, 6, 7, 8};

static int mode_rank(char mode)
{
    const char *at = std::strchr(modes_by_rank, mode);
    return mode != '\0' && at ? int(at - modes_by_rank) : -1;
}

// An optional number: NaN if empty or not a number.
static double optional_number(const QByteArray &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : NAN;
}

// The position in fields first..first + 3, and the time of day in field 0.
static bool read_position(const NmeaSentence &s, int first, NavFix *fix)
{
    const auto latitude = nmea_latitude(s.field(first), s.field(first + 1));
    const auto longitude = nmea_longitude(s.field(first + 2), s.field(first + 3));
    const QByteArray time = s.field(0);
    const auto time_of_day = nmea_time_of_day_ms(time);
    if (!latitude || !longitude || (!time.isEmpty() && !time_of_day))
        return false;
    fix->talker = s.talker;
    fix->kind = s.kind;
    fix->time_of_day_ms = time_of_day.value_or(-1);
    fix->latitude = *latitude;
    fix->longitude = *longitude;
    return true;
}

NmeaResult NmeaParser::parse(const QByteArray &line)
{
    NmeaSentence s;
    switch (NmeaSentence::split(line, &s)) {
    case NmeaSentence::fragment:
        ++counted.fragments;
        return {};
    case NmeaSentence::bad_checksum:
        ++counted.checksum;
        return {};
    case NmeaSentence::good:
        break;
    }
    NmeaResult (NmeaParser::*reader)(const NmeaSentence &) = s.talker.isEmpty() ? nullptr
        : s.kind == "GGA" ? &NmeaParser::parse_gga
        : s.kind == "RMC" ? &NmeaParser::parse_rmc
        : s.kind == "ZDA" ? &NmeaParser::parse_zda
        : s.kind == "GNS" ? &NmeaParser::parse_gns
        : s.kind == "VTG" ? &NmeaParser::parse_vtg
                          : nullptr;
    if (!reader) {
        ++counted.other;
        return {};
    }
    const NmeaResult result = (this->*reader)(s);
    counted.used += result.fix || result.utc_ms || result.course;
    return result;
}

NmeaResult NmeaParser::void_fix()
{
    ++counted.void_fix;
    NmeaResult result;
    result.fix_lost = true;
    return result;
}

NmeaResult NmeaParser::bad_fields()
{
    ++counted.bad_fields;
    return {};
}

NmeaResult NmeaParser::parse_gga(const NmeaSentence &s)
{
    const QByteArray quality = s.field(5);
    if (quality == "0")
        return void_fix();
    NmeaResult result;
    NavFix fix;
    if (quality.size() != 1 || quality[0] < '1' || quality[0] > '9' || !read_position(s, 1, &fix))
        return bad_fields();
    fix.quality = quality[0] - '0';
    bool ok = false;
    fix.satellites = s.field(6).toInt(&ok);
    fix.satellites = ok ? fix.satellites : -1;
    fix.hdop = optional_number(s.field(7));
    fix.altitude_m = optional_number(s.field(8));
    result.fix = fix;
    return result;
}

NmeaResult NmeaParser::parse_rmc(const NmeaSentence &s)
{
    const QByteArray status = s.field(1), mode = s.field(11);
    if (status == "V" || mode == "N")
        return void_fix();
    NavFix fix;
    const int rank = mode.isEmpty() ? mode_rank('A') : mode.size() == 1 ? mode_rank(mode[0]) : -1;
    if (status != "A" || rank < 0 || !read_position(s, 2, &fix))
        return bad_fields();
    fix.quality = quality_of_rank[rank];
    NmeaResult result;
    result.fix = fix;
    if (fix.time_of_day_ms >= 0)
        result.utc_ms = nmea_ddmmyy_ms(s.field(8), fix.time_of_day_ms);
    const double knots = optional_number(s.field(6));
    if (!std::isnan(knots))
        result.course = CourseSpeed{optional_number(s.field(7)), knots * knot_m_s};
    return result;
}

NmeaResult NmeaParser::parse_zda(const NmeaSentence &s)
{
    const auto time_of_day = nmea_time_of_day_ms(s.field(0));
    bool day_ok = false, month_ok = false, year_ok = false;
    const int day = s.field(1).toInt(&day_ok), month = s.field(2).toInt(&month_ok),
              year = s.field(3).toInt(&year_ok);
    const auto utc = time_of_day && day_ok && month_ok && year_ok && s.field(3).size() == 4
        ? utc_ms(year, month, day, *time_of_day)
        : std::nullopt;
    if (!utc)
        return bad_fields();
    NmeaResult result;
    result.utc_ms = utc;
    return result;
}

NmeaResult NmeaParser::parse_gns(const NmeaSentence &s)
{
    const QByteArray modes = s.field(5);
    if (!modes.isEmpty() && modes.count('N') == modes.size())
        return void_fix();
    int best = -1;
    for (char mode : modes) {
        const int rank = mode_rank(mode);
        if (mode != 'N' && rank < 0)
            return bad_fields();
        best = rank >= 0 && (best < 0 || rank < best) ? rank : best;
    }
    NavFix fix;
    if (best < 0 || !read_position(s, 1, &fix))
        return bad_fields();
    fix.quality = quality_of_rank[best];
    bool ok = false;
    fix.satellites = s.field(6).toInt(&ok);
    fix.satellites = ok ? fix.satellites : -1;
    fix.hdop = optional_number(s.field(7));
    fix.altitude_m = optional_number(s.field(8));
    NmeaResult result;
    result.fix = fix;
    return result;
}

// VTG's void says nothing of the position, so it counts but ends no fix.
NmeaResult NmeaParser::parse_vtg(const NmeaSentence &s)
{
    if (s.field(8) == "N") {
        ++counted.void_fix;
        return {};
    }
    const double knots = optional_number(s.field(4)), km_h = optional_number(s.field(6));
    const double speed = !std::isnan(knots) ? knots * knot_m_s : km_h / 3.6;
    if (std::isnan(speed))
        return bad_fields();
    NmeaResult result;
    result.course = CourseSpeed{optional_number(s.field(0)), speed};
    return result;
}
