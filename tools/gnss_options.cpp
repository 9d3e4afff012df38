#include "gnss_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

void print_gnss_usage(std::FILE *out)
{
    std::fprintf(out,
                 "Usage: gnss-sim [options]\n"
                 "\n"
                 "Plays a vessel's GNSS receiver: GGA, RMC and ZDA each epoch, on a\n"
                 "pseudo-terminal (the first line printed is the device path to open),\n"
                 "to a UDP port on 127.0.0.1, or to stdout.\n"
                 "\n"
                 "Options:\n"
                 "  --udp PORT           send each epoch as one datagram to 127.0.0.1:PORT\n"
                 "  --stdout             write the sentences to stdout\n"
                 "  --fast               with --stdout: run on a simulated clock, no waiting\n"
                 "  --start-ms MS        with --fast: the PC time of the first epoch\n"
                 "  --link PATH          also create a symbolic link PATH to the device\n"
                 "  --rate HZ            epochs a second: 1, 2, 4, 5 or 10 (default 1)\n"
                 "  --lat DEG --lon DEG  start position (default 30, 122)\n"
                 "  --speed KNOTS        speed over ground (default 5)\n"
                 "  --course DEG         course over ground (default 90)\n"
                 "  --turn DEG_PER_S     rate of turn, positive to starboard (default 0)\n"
                 "  --clock-offset S     the GNSS time sent is the PC clock minus S\n"
                 "  --talker XX          talker of the sentences (default GP)\n"
                 "  --duration S         stop after S seconds\n"
                 "  --log FILE           record every sentence sent, tab-separated: PC time\n"
                 "                       (ms), GNSS time, kind, status, exact latitude and\n"
                 "                       longitude (7 decimals), the sentence\n"
                 "\n"
                 "Faults (times in seconds from the first epoch):\n"
                 "  --bad-checksum-every N      a wrong checksum on every Nth sentence\n"
                 "  --void-at S --void-for S    void fixes (GGA quality 0, RMC V)\n"
                 "  --dropout-at S --dropout-for S   send nothing\n"
                 "  --jump-at S --jump-m M      the position jumps M metres north\n"
                 "\n"
                 "  --help               show this text\n");
}

static bool parse_real(const char *text, double min, double max, double &value)
{
    char *end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (*text == '\0' || *end != '\0' || !std::isfinite(parsed) || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

static bool parse_whole(const char *text, long long min, long long max, long long &value)
{
    char *end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (*text == '\0' || *end != '\0' || errno != 0 || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

static bool set_value(const std::string &name, const char *value, GnssOptions &o)
{
    if (name == "--udp")
        return parse_whole(value, 1, 65535, o.udp_port);
    if (name == "--start-ms")
        return parse_whole(value, 0, 253402300799999LL, o.start_ms);
    if (name == "--rate")
        // Epochs on whole hundredths of a second, as the time field shows them.
        return parse_whole(value, 1, 10, o.rate) && 1000 % o.rate == 0 && (1000 / o.rate) % 10 == 0;
    if (name == "--bad-checksum-every")
        return parse_whole(value, 1, 1000000, o.bad_checksum_every);
    if (name == "--link" || name == "--log" || name == "--talker") {
        std::string &text = name == "--link" ? o.link_path
            : name == "--log"                ? o.log_path
                                             : o.talker;
        text = value;
        return name == "--talker" ? text.size() == 2 : !text.empty();
    }
    struct Real
    {
        const char *name;
        double *value;
        double min, max;
    };
    const Real reals[] = {
        {"--lat", &o.latitude, -89.9, 89.9},
        {"--lon", &o.longitude, -180.0, 180.0},
        {"--speed", &o.speed_knots, 0.0, 100.0},
        {"--course", &o.course_deg, 0.0, 360.0},
        {"--turn", &o.turn_deg_s, -30.0, 30.0},
        {"--clock-offset", &o.clock_offset_s, -1e6, 1e6},
        {"--duration", &o.duration_s, 0.0, 1e7},
        {"--void-at", &o.void_at, 0.0, 1e7},
        {"--void-for", &o.void_for, 0.0, 1e7},
        {"--dropout-at", &o.dropout_at, 0.0, 1e7},
        {"--dropout-for", &o.dropout_for, 0.0, 1e7},
        {"--jump-at", &o.jump_at, 0.0, 1e7},
        {"--jump-m", &o.jump_m, -1e6, 1e6},
    };
    for (const Real &real : reals) {
        if (name == real.name)
            return parse_real(value, real.min, real.max, *real.value);
    }
    std::fprintf(stderr, "gnss-sim: unknown option %s\n", name.c_str());
    return false;
}

bool parse_gnss_options(int argc, char **argv, GnssOptions &options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--stdout" || name == "--fast") {
            (name == "--fast" ? options.fast : options.to_stdout) = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "gnss-sim: %s needs a value\n", name.c_str());
            return false;
        }
        const char *value = argv[++i];
        if (!set_value(name, value, options)) {
            std::fprintf(stderr, "gnss-sim: invalid value \"%s\" for %s\n", value, name.c_str());
            return false;
        }
    }
    if (options.fast && !options.to_stdout) {
        std::fprintf(stderr, "gnss-sim: --fast needs --stdout\n");
        return false;
    }
    return true;
}
