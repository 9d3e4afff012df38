#ifndef GNSS_OPTIONS_H
#define GNSS_OPTIONS_H

#include <cstdio>
#include <string>

struct GnssOptions
{
    long long rate = 1; // epochs a second: 1, 2, 4, 5 or 10
    double latitude = 30.0, longitude = 122.0; // start, decimal degrees
    double speed_knots = 5.0;
    double course_deg = 90.0;
    double turn_deg_s = 0.0; // positive turns to starboard
    double clock_offset_s = 0.0; // GNSS time sent = PC clock - offset
    std::string talker = "GP";
    std::string link_path; // pseudo-terminal: also a link to the device
    long long udp_port = 0; // 0: a pseudo-terminal
    bool to_stdout = false;
    bool fast = false; // with --stdout: a simulated clock, no waiting
    long long start_ms = -1; // --fast: the PC time of the first epoch
    double duration_s = 0.0; // 0: until stopped
    std::string log_path;

    // Faults, in seconds from the first epoch.
    long long bad_checksum_every = 0; // every Nth sentence
    double void_at = -1.0, void_for = 0.0;
    double dropout_at = -1.0, dropout_for = 0.0;
    double jump_at = -1.0, jump_m = 0.0; // the position jumps north by jump_m
};

void print_gnss_usage(std::FILE *out);
bool parse_gnss_options(int argc, char **argv, GnssOptions &options);

#endif
