#ifndef SIM_OPTIONS_H
#define SIM_OPTIONS_H

#include "probeformat.h"

#include <cstdio>
#include <string>

struct SimOptions
{
    long long rate = 8; // lines per second
    double salinity = 35.0;
    double depth = 0.0;
    double temperature = 15.0;
    long long seed = -1; // from the clock
    std::string link_path;
    bool split = false;
    long long burst = 1;
    bool garbage = false;
    bool malformed = false;
    FormatId format = FormatId::dollar;
    std::string line_end = "\r\n"; // for the formats other than dollar
    bool bad_checksum = false;
    bool cut = false;
    bool start_mid_line = false;
    long long hangup_after = 0;
    long long lines = 0;
    std::string copy_path; // every byte a host got is appended there
};

// Fastest --rate; well beyond the instrument's own 30, for benchmarks.
const long long max_sim_rate = 5000;

void print_usage(std::FILE *out);

// Accepts "--name value" and "--name=value". Reports problems on stderr.
bool parse_options(int argc, char **argv, SimOptions &options);

// A whole decimal integer within [min, max]; value is left alone otherwise.
bool parse_integer(const std::string &text, long long min, long long max, long long &value);

#endif
