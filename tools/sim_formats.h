#ifndef SIM_FORMATS_H
#define SIM_FORMATS_H

#include "probeformat.h"

#include <random>
#include <string>

struct SimOptions;

// One piece of output: junk before the line, the line with its line end, and
// whether the terminal reads it as a measurement. Pieces that are no line
// for the terminal are not counted.
struct SimLine
{
    std::string junk, text;
    bool valid = false;
    bool counted = true;
};

// The lines of the format chosen, with the faults asked for. The dollar
// format's lines are sim_lines' as before; the other formats' are read back
// with the terminal's own rules (probeformat.h), junk and all, to be counted.
class SimLineMaker
{
public:
    SimLineMaker(const SimOptions &options, std::mt19937 &random);

    // The next line for the water at the sensor; junk is the garbage drawn
    // before it (for the formats framed by their line end, its own line end
    // is left out, so it joins the line as line noise would).
    SimLine make(std::string junk, bool malformed, double speed, double temperature,
                 bool with_temperature);
    // What a host that opens the port mid-line gets first: junk and the end
    // of a line.
    SimLine fragment(double speed, double temperature);

private:
    std::string probe_line(bool malformed, double speed, double temperature);
    bool reads_as_measurement(const std::string &bytes) const;

    const SimOptions &options;
    std::mt19937 &random;
};

#endif
