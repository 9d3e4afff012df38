#ifndef NMEAPARSER_H
#define NMEAPARSER_H

#include "navfix.h"

#include <optional>

struct NmeaSentence;

// What one sentence says, each part only if the sentence gives it.
struct NmeaResult
{
    std::optional<NavFix> fix; // GGA, RMC, GNS with a valid fix
    std::optional<qint64> utc_ms; // ZDA, or RMC with its date
    std::optional<CourseSpeed> course; // RMC, VTG
    bool fix_lost = false; // GGA, RMC or GNS says the receiver has no fix now
};

// Reads GGA, RMC, ZDA, GNS and VTG from any talker. A sentence with a wrong
// or missing checksum, a void fix, empty or malformed fields, or of another
// kind is counted and gives nothing else.
class NmeaParser
{
public:
    // One line without its line end.
    NmeaResult parse(const QByteArray &line);
    const NmeaCounts &counts() const { return counted; }
    NmeaCounts &counts() { return counted; }

private:
    NmeaResult parse_gga(const NmeaSentence &s);
    NmeaResult parse_rmc(const NmeaSentence &s);
    NmeaResult parse_zda(const NmeaSentence &s);
    NmeaResult parse_gns(const NmeaSentence &s);
    NmeaResult parse_vtg(const NmeaSentence &s);
    NmeaResult void_fix();
    NmeaResult bad_fields();

    NmeaCounts counted;
};

#endif
