#include "nmeachecksum.h"

#include "linefields.h"

std::uint8_t nmea_checksum(std::string_view body)
{
    std::uint8_t sum = 0;
    for (char c : body)
        sum ^= std::uint8_t(c);
    return sum;
}

static int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool split_sentence(std::string_view line, std::string_view *body, bool *checksum_ok)
{
    const std::string_view text = trim_blanks(line);
    if (text.size() < 4 || text[0] != '$' || text[text.size() - 3] != '*')
        return false;
    const size_t star = text.size() - 3;
    const int high = hex_digit(text[star + 1]);
    const int low = hex_digit(text[star + 2]);
    if (high < 0 || low < 0)
        return false;
    *body = text.substr(1, star - 1);
    *checksum_ok = nmea_checksum(*body) == high * 16 + low;
    return true;
}
