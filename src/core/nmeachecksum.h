#ifndef NMEACHECKSUM_H
#define NMEACHECKSUM_H

// NMEA 0183 style sentences: "$<body>*hh", hh the XOR of the body's bytes in
// two hex digits. Plain C++ (the simulator writes them too).

#include <cstdint>
#include <string_view>

std::uint8_t nmea_checksum(std::string_view body);

// Splits a sentence, blanks around it allowed, into its body (between "$"
// and "*"); false when it has not that shape. *checksum_ok: whether hh
// (either case) matches the body.
bool split_sentence(std::string_view line, std::string_view *body, bool *checksum_ok);

#endif
