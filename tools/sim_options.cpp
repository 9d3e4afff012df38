#include "sim_options.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

void print_usage(std::FILE *out)
{
    std::fprintf(out,
                 "Usage: instrument-sim [options]\n"
                 "\n"
                 "Simulates a sound-velocity meter on a pseudo-terminal. The first line\n"
                 "printed is the device path to open; diagnostics go to stderr. On exit it\n"
                 "prints \"sent N lines: V valid, M malformed\" for the lines a host got,\n"
                 "counted as the terminal reads that format (malformed: not a measurement,\n"
                 "wrong checksums included).\n"
                 "\n"
                 "Options:\n"
                 "  --link PATH          also create a symbolic link PATH to the device\n"
                 "                       (never replaces an existing file; removed on exit)\n"
                 "  --rate N             lines per second, 1-%lld (default 8)\n"
                 "  --salinity S         salinity in PSU (default 35)\n"
                 "  --depth D            depth in metres (default 0)\n"
                 "  --temperature T      starting water temperature in degC (default 15)\n"
                 "  --seed N             random seed (default: from the clock)\n"
                 "  --lines N            exit after sending N lines\n"
                 "  --hangup-after N     close the device after sending N lines\n"
                 "  --copy FILE          append every byte the host got to FILE\n"
                 "  --format NAME        the probe's line format: dollar (default), sv, sv_mm,\n"
                 "                       p_t_sv, tagged, psgds, pssv or t_c_s_sv\n"
                 "  --line-end crlf|lf|cr  line end of the formats but dollar (default crlf)\n"
                 "\n"
                 "Fault injection:\n"
                 "  --split              write each line in several pieces\n"
                 "  --burst N            write N lines at a time\n"
                 "  --garbage            now and then send junk bytes between lines\n"
                 "  --malformed          now and then send a malformed line\n"
                 "  --bad-checksum       now and then a wrong checksum (psgds, pssv)\n"
                 "  --cut                now and then cut a line short before the next\n"
                 "  --start-mid-line     on each connection first send junk and the end of\n"
                 "                       a line, as when opening the port mid-line\n"
                 "\n"
                 "  --help               show this text\n",
                 max_sim_rate);
}

bool parse_integer(const std::string &text, long long min, long long max, long long &value)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

static bool parse_real(const std::string &text, double min, double max, double &value)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(parsed) || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

// Sets a flag option; false if name is none.
static bool set_flag(const std::string &name, SimOptions &options)
{
    bool *flag = name == "--split"   ? &options.split
        : name == "--garbage"        ? &options.garbage
        : name == "--malformed"      ? &options.malformed
        : name == "--bad-checksum"   ? &options.bad_checksum
        : name == "--cut"            ? &options.cut
        : name == "--start-mid-line" ? &options.start_mid_line
                                     : nullptr;
    if (flag)
        *flag = true;
    return flag != nullptr;
}

static bool takes_value(const std::string &name)
{
    for (const char *option :
         {"--link", "--rate", "--salinity", "--depth", "--temperature", "--seed", "--lines",
          "--hangup-after", "--burst", "--format", "--line-end", "--copy"}) {
        if (name == option)
            return true;
    }
    return false;
}

static bool set_value(const std::string &name, const std::string &value, SimOptions &options)
{
    if (name == "--link") {
        options.link_path = value;
        return !value.empty();
    }
    if (name == "--copy") {
        options.copy_path = value;
        return !value.empty();
    }
    if (name == "--rate")
        return parse_integer(value, 1, max_sim_rate, options.rate);
    if (name == "--salinity")
        return parse_real(value, 0.0, 50.0, options.salinity);
    if (name == "--depth")
        return parse_real(value, 0.0, 12000.0, options.depth);
    if (name == "--temperature")
        return parse_real(value, -5.0, 40.0, options.temperature);
    if (name == "--seed")
        return parse_integer(value, 0, 4294967295LL, options.seed);
    if (name == "--lines")
        return parse_integer(value, 1, LLONG_MAX, options.lines);
    if (name == "--hangup-after")
        return parse_integer(value, 1, LLONG_MAX, options.hangup_after);
    if (name == "--format")
        return format_by_name(value, &options.format);
    if (name == "--line-end") {
        options.line_end = value == "crlf" ? "\r\n"
            : value == "lf"                ? "\n"
            : value == "cr"                ? "\r"
                                           : "";
        return !options.line_end.empty();
    }
    return parse_integer(value, 1, 100, options.burst); // --burst
}

bool parse_options(int argc, char **argv, SimOptions &options)
{
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        const size_t equals = name.find('=');
        const bool inline_value = name.compare(0, 2, "--") == 0 && equals != std::string::npos;
        if (inline_value) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else if (set_flag(name, options)) {
            continue;
        }

        if (!takes_value(name)) {
            std::fprintf(stderr, "instrument-sim: unknown option %s\n", argv[i]);
            return false;
        }
        if (!inline_value) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "instrument-sim: %s needs a value\n", name.c_str());
                return false;
            }
            value = argv[++i];
        }
        if (!set_value(name, value, options)) {
            std::fprintf(stderr, "instrument-sim: invalid value \"%s\" for %s\n", value.c_str(),
                         name.c_str());
            return false;
        }
    }
    return true;
}
