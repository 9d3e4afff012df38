// The NMEA-style sentences: psgds and pssv.
#include "formatrows.h"
#include "linefields.h"
#include "nmeachecksum.h"

namespace {

const double metres_per_foot = 0.3048;

// The body's comma-separated fields, when the line is a sentence of exactly
// count fields led by the given ones; *match says how its checksum went.
bool sentence_fields(std::string_view line, std::string_view lead, std::string_view *fields,
                     int count, LineMatch *match)
{
    std::string_view body;
    bool checksum_ok = false;
    if (!split_sentence(line, &body, &checksum_ok) || body.substr(0, lead.size()) != lead)
        return false;
    if (split_fields(body, ',', fields, count) != count)
        return false;
    *match = checksum_ok ? LineMatch::yes : LineMatch::bad_checksum;
    return true;
}

// "$PSGDS,ADSVP,<pressure>,<speed>,<temperature>,<density>*hh"
class PsgdsFormat : public ProbeFormat
{
public:
    FormatId id() const override { return FormatId::psgds; }
    LineMatch read(std::string_view line, LineValues &values) const override
    {
        std::string_view fields[6];
        LineMatch match = LineMatch::no;
        if (!sentence_fields(line, "PSGDS,", fields, 6, &match) || fields[1] != "ADSVP"
            || !read_decimal(fields[2], &values.pressure_dbar)
            || !read_decimal(fields[3], &values.speed)
            || !read_decimal(fields[4], &values.temperature)
            || !read_decimal(fields[5], &values.density))
            return LineMatch::no;
        values.speed_text = fields[3];
        values.temperature_text = fields[4];
        return match;
    }
};

// "$PSSV, <speed>, <depth>,<M or F>*hh"
class PssvFormat : public ProbeFormat
{
public:
    FormatId id() const override { return FormatId::pssv; }
    LineMatch read(std::string_view line, LineValues &values) const override
    {
        std::string_view fields[4];
        LineMatch match = LineMatch::no;
        double depth = 0;
        if (!sentence_fields(line, "PSSV,", fields, 4, &match)
            || !read_decimal(fields[1], &values.speed) || !read_decimal(fields[2], &depth))
            return LineMatch::no;
        if (same_letters(fields[3], "M"))
            values.depth_m = depth;
        else if (same_letters(fields[3], "F"))
            values.depth_m = depth * metres_per_foot;
        else
            return LineMatch::no;
        values.speed_text = fields[1];
        return match;
    }
};

} // namespace

const ProbeFormat &psgds_format()
{
    static const PsgdsFormat format;
    return format;
}

const ProbeFormat &pssv_format()
{
    static const PssvFormat format;
    return format;
}
