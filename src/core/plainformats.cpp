// The formats made of plain numbers: sv, sv_mm, p_t_sv and t_c_s_sv.
#include "formatrows.h"
#include "linefields.h"

namespace {

// Above any speed of sound in water: a single number from here on is sv_mm's.
// Below it, seven digits read as both; recognition prefers sv, the earlier
// (an idle sv_mm probe's "0000000" too).
const double sv_ceiling = 100000;

// " 1500.123": one number, the speed in m/s.
class SvFormat : public ProbeFormat
{
public:
    FormatId id() const override { return FormatId::sv; }
    LineMatch read(std::string_view line, LineValues &values) const override
    {
        const std::string_view text = trim_blanks(line);
        if (!read_decimal(text, &values.speed) || !(values.speed < sv_ceiling))
            return LineMatch::no;
        values.speed_text = text;
        return LineMatch::yes;
    }
};

// "1505340": seven digits, the speed in mm/s.
class SvMmFormat : public ProbeFormat
{
public:
    FormatId id() const override { return FormatId::sv_mm; }
    LineMatch read(std::string_view line, LineValues &values) const override
    {
        const std::string_view text = trim_blanks(line);
        if (text.size() != 7)
            return LineMatch::no;
        long mm = 0;
        for (char c : text) {
            if (c < '0' || c > '9')
                return LineMatch::no;
            mm = mm * 10 + (c - '0');
        }
        // Both are the nearest double to the same decimal.
        values.speed = double(mm) / 1000;
        values.speed_text = text;
        values.speed_shift = 3;
        return LineMatch::yes;
    }
};

// "10.351 21.488 1506.739": pressure, temperature, speed, blanks or tabs
// between them.
class PTSvFormat : public ProbeFormat
{
public:
    FormatId id() const override { return FormatId::p_t_sv; }
    LineMatch read(std::string_view line, LineValues &values) const override
    {
        std::string_view words[3];
        if (split_words(line, words, 3) != 3 || !read_decimal(words[0], &values.pressure_dbar)
            || !read_decimal(words[1], &values.temperature)
            || !read_decimal(words[2], &values.speed))
            return LineMatch::no;
        values.temperature_text = words[1];
        values.speed_text = words[2];
        return LineMatch::yes;
    }
};

// "24.0440,05.12200,0035.1230, 1459.111": temperature, conductivity,
// salinity, speed.
class TCSSvFormat : public ProbeFormat
{
public:
    FormatId id() const override { return FormatId::t_c_s_sv; }
    LineMatch read(std::string_view line, LineValues &values) const override
    {
        std::string_view fields[4];
        if (split_fields(line, ',', fields, 4) != 4 || !read_decimal(fields[0], &values.temperature)
            || !read_decimal(fields[1], &values.conductivity)
            || !read_decimal(fields[2], &values.salinity)
            || !read_decimal(fields[3], &values.speed))
            return LineMatch::no;
        values.temperature_text = fields[0];
        values.speed_text = fields[3];
        return LineMatch::yes;
    }
};

} // namespace

const ProbeFormat &sv_format()
{
    static const SvFormat format;
    return format;
}

const ProbeFormat &sv_mm_format()
{
    static const SvMmFormat format;
    return format;
}

const ProbeFormat &p_t_sv_format()
{
    static const PTSvFormat format;
    return format;
}

const ProbeFormat &t_c_s_sv_format()
{
    static const TCSSvFormat format;
    return format;
}
