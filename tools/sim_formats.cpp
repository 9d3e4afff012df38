#include "sim_formats.h"

#include "nmeachecksum.h"
#include "sim_lines.h"
#include "sim_options.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct Water
{
    double speed, temperature, salinity, depth;
};

std::string printed(const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Rough figures for what the probes also send; nothing checks them against
// each other. A decibar is about a metre of sea water.
double conductivity(const Water &w)
{
    return w.salinity * (0.88 + 0.024 * w.temperature);
}

double density(const Water &w)
{
    return 1000.0 + 0.8 * w.salinity - 0.2 * (w.temperature - 4.0);
}

// A line's fields as the probe prints them, and which one is the speed.
std::vector<std::string> fields_of(FormatId format, const Water &w, size_t *speed_field)
{
    const std::string speed = printed("%.3f", w.speed);
    const std::string temperature = printed("%.3f", w.temperature);
    *speed_field = 0;
    switch (format) {
    case FormatId::dollar:
    case FormatId::sv:
        return {" " + speed};
    case FormatId::sv_mm:
        return {printed("%07.0f", std::round(w.speed * 1000.0))};
    case FormatId::p_t_sv:
        *speed_field = 2;
        return {printed("%.3f", w.depth), temperature, speed};
    case FormatId::tagged:
        return {speed + " M/SEC", printed("%08.3f M", w.depth), printed("%08.3f C", w.temperature),
                printed("%08.3f MS/CM", conductivity(w))};
    case FormatId::psgds:
        *speed_field = 3;
        return {"PSGDS", "ADSVP",     printed("%08.3f", w.depth),
                speed,   temperature, printed("%.2f", density(w))};
    case FormatId::pssv:
        *speed_field = 1;
        return {"PSSV", printed(" %.1f", w.speed), printed(" %.1f", w.depth), "M"};
    case FormatId::t_c_s_sv:
        *speed_field = 3;
        return {printed("%.4f", w.temperature), printed("%08.5f", conductivity(w)),
                printed("%09.4f", w.salinity), " " + speed};
    }
    return {};
}

bool is_sentence(FormatId format)
{
    return format == FormatId::psgds || format == FormatId::pssv;
}

std::string joined(FormatId format, const std::vector<std::string> &fields)
{
    const char *separator = is_sentence(format) || format == FormatId::t_c_s_sv ? "," : " ";
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += (i > 0 ? separator : "") + fields[i];
    return line;
}

std::string sentence(const std::string &body, bool wrong_checksum)
{
    const unsigned sum = nmea_checksum(body) ^ (wrong_checksum ? 0x01 : 0x00);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X", sum);
    return "$" + body + tail;
}

// A field dropped, one too many, a decimal comma or a letter in the speed.
void break_fields(std::vector<std::string> &fields, size_t speed_field, std::mt19937 &random)
{
    std::string &speed = fields[speed_field];
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0:
        if (fields.size() > 1) {
            fields.pop_back();
            break;
        }
        [[fallthrough]];
    case 1:
        fields.push_back(fields.back());
        break;
    case 2:
        if (speed.find('.') != std::string::npos) {
            speed[speed.find('.')] = ',';
            break;
        }
        [[fallthrough]];
    default:
        speed[speed.find_first_of("0123456789")] = 'x';
        break;
    }
}

std::string without(std::string text, const std::string &unwanted)
{
    size_t kept = 0;
    for (char c : text) {
        if (unwanted.find(c) == std::string::npos)
            text[kept++] = c;
    }
    text.resize(kept);
    return text;
}

} // namespace

SimLineMaker::SimLineMaker(const SimOptions &options, std::mt19937 &random)
    : options(options), random(random)
{
}

SimLine SimLineMaker::make(std::string junk, bool malformed, double speed, double temperature,
                           bool with_temperature)
{
    SimLine line;
    if (options.format == FormatId::dollar) {
        line.text = malformed ? malformed_line(speed, temperature, with_temperature, random)
                              : measurement_line(speed, temperature, with_temperature);
        if (options.cut && one_in(10, random))
            junk += measurement_line(speed, temperature, with_temperature)
                        .substr(0, std::uniform_int_distribution<size_t>(1, 8)(random));
        line.junk = junk;
        line.valid = is_measurement(line.text);
        return line;
    }
    line.text = probe_line(malformed, speed, temperature) + options.line_end;
    line.junk = without(junk, "\r\n");
    if (options.cut && one_in(10, random)) {
        const std::string whole = probe_line(false, speed, temperature);
        line.junk
            += whole.substr(0, std::uniform_int_distribution<size_t>(1, whole.size() - 1)(random));
    }
    line.valid = reads_as_measurement(line.junk + line.text);
    return line;
}

std::string SimLineMaker::probe_line(bool malformed, double speed, double temperature)
{
    const Water water{speed, temperature, options.salinity, options.depth};
    size_t speed_field = 0;
    std::vector<std::string> fields = fields_of(options.format, water, &speed_field);
    if (malformed)
        break_fields(fields, speed_field, random);
    const std::string line = joined(options.format, fields);
    if (!is_sentence(options.format))
        return line;
    return sentence(line, options.bad_checksum && one_in(10, random));
}

SimLine SimLineMaker::fragment(double speed, double temperature)
{
    std::string junk;
    while (junk.empty())
        junk = without(garbage_bytes(random), "\r\n");
    const std::string whole = options.format == FormatId::dollar
        ? measurement_line(speed, temperature, true)
        : probe_line(false, speed, temperature) + options.line_end;
    // Cut after a dollar line's "$": the terminal sees no line in it then.
    const size_t cut = std::uniform_int_distribution<size_t>(1, whole.size() - 2)(random);
    SimLine line;
    line.text = junk + whole.substr(cut);
    // A blank line is no line for the terminal either.
    line.counted = options.format != FormatId::dollar
        && !without(line.text, std::string(" \t\r\n\0", 5)).empty();
    line.valid = line.counted && reads_as_measurement(line.text);
    return line;
}

// The terminal drops NULs and reads the line without its line end.
bool SimLineMaker::reads_as_measurement(const std::string &bytes) const
{
    const std::string line = without(bytes, std::string("\r\n\0", 3));
    LineValues values;
    return line_format(options.format)->read(line, values) == LineMatch::yes;
}
