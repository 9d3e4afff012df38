// gnss-sim: plays a vessel's GNSS receiver, for the terminal's navigation
// input, on a pseudo-terminal, over UDP to 127.0.0.1, or to stdout.
//
// Each epoch it sends GGA, RMC and ZDA for a moving vessel, stamped with the
// GNSS time: the PC clock minus the chosen offset, on whole epochs, as a
// receiver sends at the top of each epoch. With --log it records every
// sentence it got out, with the exact position it carries.

#include "gnss_options.h"
#include "gnss_sentences.h"
#include "gnss_sink.h"
#include "gnss_track.h"
#include "pty_open.h"
#include "sim_signals.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

long long realtime_ms()
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return (long long)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

// False if a signal asked to stop meanwhile.
bool sleep_until_ms(long long ms)
{
    const timespec until = {time_t(ms / 1000), long(ms % 1000) * 1000000};
    while (!stop_requested) {
        const int error = clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &until, nullptr);
        if (error == 0)
            return true;
        if (error != EINTR)
            return false;
    }
    return false;
}

bool within(double elapsed, double at, double length)
{
    return at >= 0.0 && elapsed >= at && elapsed < at + length;
}

struct Counts
{
    long long fixes = 0, voids = 0, bad_checksums = 0, times = 0;
};

class Simulator
{
public:
    Simulator(const GnssOptions &options, GnssSink &sink, std::FILE *log);
    void run();
    const Counts &counts() const { return counted; }

private:
    void send_epoch(long long pc_ms, long long gnss_ms, bool fix);
    std::string sentence(const std::string &body, const char *kind, bool fix, long long pc_ms,
                         long long gnss_ms, std::vector<std::string> &rows);

    const GnssOptions &options;
    GnssSink &sink;
    std::FILE *log;
    GnssTrack track;
    long long sentences = 0;
    Counts counted;
};

Simulator::Simulator(const GnssOptions &options, GnssSink &sink, std::FILE *log)
    : options(options), sink(sink), log(log),
      track(options.latitude, options.longitude, options.speed_knots, options.course_deg,
            options.turn_deg_s)
{
}

void Simulator::run()
{
    const long long period = 1000 / options.rate;
    const long long offset = std::llround(options.clock_offset_s * 1000.0);
    const long long start
        = options.fast && options.start_ms >= 0 ? options.start_ms : realtime_ms();
    // The first whole epoch of GNSS time from now on.
    const long long first_gnss = (start - offset + period - 1) / period * period;
    bool jumped = false;
    for (long long k = 0; !stop_requested; ++k) {
        const double elapsed = double(k * period) / 1000.0;
        if (options.duration_s > 0.0 && elapsed >= options.duration_s)
            break;
        const long long gnss_ms = first_gnss + k * period;
        if (!options.fast && !sleep_until_ms(gnss_ms + offset))
            break;
        if (k > 0)
            track.advance(double(period) / 1000.0);
        if (!jumped && options.jump_at >= 0.0 && elapsed >= options.jump_at) {
            track.jump(options.jump_m);
            jumped = true;
        }
        if (within(elapsed, options.dropout_at, options.dropout_for) || !sink.host_present())
            continue;
        const long long pc_ms = options.fast ? gnss_ms + offset : realtime_ms();
        send_epoch(pc_ms, gnss_ms, !within(elapsed, options.void_at, options.void_for));
    }
}

void Simulator::send_epoch(long long pc_ms, long long gnss_ms, bool fix)
{
    const SimPosition position = track.position();
    std::vector<std::string> rows;
    // One after the other, so the log and the checksum faults keep the order sent.
    std::string data = sentence(gga_body(options.talker, gnss_ms, position, fix), "GGA", fix, pc_ms,
                                gnss_ms, rows);
    data += sentence(
        rmc_body(options.talker, gnss_ms, position, fix, track.speed_knots(), track.course_deg()),
        "RMC", fix, pc_ms, gnss_ms, rows);
    data += sentence(zda_body(options.talker, gnss_ms), "ZDA", true, pc_ms, gnss_ms, rows);
    if (!sink.send(data))
        return;
    ++counted.times;
    counted.fixes += fix;
    counted.voids += !fix;
    for (const std::string &row : rows) {
        if (log)
            std::fputs(row.c_str(), log);
    }
    if (log)
        std::fflush(log);
}

// One framed sentence, and its log row in rows.
std::string Simulator::sentence(const std::string &body, const char *kind, bool fix,
                                long long pc_ms, long long gnss_ms, std::vector<std::string> &rows)
{
    ++sentences;
    const bool wrong
        = options.bad_checksum_every > 0 && sentences % options.bad_checksum_every == 0;
    counted.bad_checksums += wrong;
    const std::string text = nmea_framed(body, wrong);
    const bool positioned = fix && std::strcmp(kind, "ZDA") != 0;
    const SimPosition position = track.position();
    char head[64];
    std::snprintf(head, sizeof head, "%lld\t%lld\t%s\t%s\t", pc_ms, gnss_ms, kind,
                  wrong     ? "bad_checksum"
                      : fix ? "ok"
                            : "void");
    rows.push_back(std::string(head)
                   + (positioned ? degrees_text(position.latitude_units) + "\t"
                              + degrees_text(position.longitude_units)
                                 : std::string("\t"))
                   + "\t" + text + "\n");
    return text + "\r\n";
}

} // namespace

int main(int argc, char **argv)
{
    if (asks_for_help(argc, argv)) {
        print_gnss_usage(stdout);
        return 0;
    }
    GnssOptions options;
    if (!parse_gnss_options(argc, argv, options)) {
        std::fprintf(stderr, "Try gnss-sim --help\n");
        return 2;
    }
    catch_stop_signals();
    GnssSink sink;
    if (!sink.open(options)) {
        std::fprintf(stderr, "gnss-sim: cannot open the output: %s\n", std::strerror(errno));
        return 1;
    }
    const bool pty = !options.to_stdout && options.udp_port == 0;
    const bool linked = pty && !options.link_path.empty();
    if (linked && !pty_link("gnss-sim", options.link_path, sink.slave_path))
        return 1;
    std::FILE *log = nullptr;
    if (!options.log_path.empty() && !(log = std::fopen(options.log_path.c_str(), "w"))) {
        std::fprintf(stderr, "gnss-sim: cannot write %s: %s\n", options.log_path.c_str(),
                     std::strerror(errno));
        return 1;
    }
    if (log)
        std::fputs("pc_ms\tgnss_ms\tkind\tstatus\tlatitude\tlongitude\tsentence\n", log);
    if (pty) {
        std::printf("%s\n", sink.slave_path);
        std::fflush(stdout);
    }

    Simulator simulator(options, sink, log);
    simulator.run();
    // The host reads what was sent last before the device goes.
    if (pty && !stop_requested)
        usleep(250000);
    if (log)
        std::fclose(log);
    if (linked)
        pty_unlink(options.link_path, sink.slave_path);
    const Counts &sent = simulator.counts();
    std::fprintf(options.to_stdout ? stderr : stdout,
                 "sent %lld epochs: %lld with a fix, %lld void; %lld wrong checksums\n", sent.times,
                 sent.fixes, sent.voids, sent.bad_checksums);
    return 0;
}
