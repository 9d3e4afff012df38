#include "nmeacoordinate.h"

#include <cstdlib>

static const int decimals = 7;
static const qint64 scale = 10000000; // 10^decimals

static bool all_digits(const QByteArray &text)
{
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// floor(minutes * 10^8) / 60, from the minutes' digits: the quotient has one
// decimal more than kept, which decides the rounding. Digits past the 8th
// decimal of the minutes cannot change it, since floor(x / 60) equals
// floor(floor(x) / 60).
static qint64 minutes_in_units_of_1e8_degree(const QByteArray &whole, const QByteArray &fraction)
{
    qint64 scaled = whole.toLongLong(); // two digits
    for (int i = 0; i < decimals + 1; ++i)
        scaled = scaled * 10 + (i < fraction.size() ? fraction.at(i) - '0' : 0);
    return scaled / 60;
}

static std::optional<NmeaCoordinate> convert(const QByteArray &text, const QByteArray &hemisphere,
                                             int max_degree_digits, int max_degrees, char positive,
                                             char negative)
{
    if (hemisphere.size() != 1 || (hemisphere[0] != positive && hemisphere[0] != negative))
        return std::nullopt;
    const int point = text.indexOf('.');
    const QByteArray integer = point < 0 ? text : text.left(point);
    const QByteArray fraction = point < 0 ? QByteArray() : text.mid(point + 1);
    if (integer.size() < 2 || integer.size() > max_degree_digits + 2 || !all_digits(integer)
        || !all_digits(fraction) || (point >= 0 && fraction.isEmpty()))
        return std::nullopt;
    const QByteArray whole_minutes = integer.right(2);
    if (whole_minutes.toInt() >= 60)
        return std::nullopt;
    const qint64 degrees = integer.left(integer.size() - 2).toLongLong();
    const qint64 tenth_units = minutes_in_units_of_1e8_degree(whole_minutes, fraction);
    const qint64 units = degrees * scale + tenth_units / 10 + (tenth_units % 10 >= 5 ? 1 : 0);
    if (units > max_degrees * scale)
        return std::nullopt;
    const qint64 signed_units = hemisphere[0] == negative ? -units : units;
    return NmeaCoordinate{degrees_text(signed_units), double(signed_units) / double(scale),
                          signed_units};
}

std::optional<NmeaCoordinate> nmea_latitude(const QByteArray &ddmm, const QByteArray &hemisphere)
{
    return convert(ddmm, hemisphere, 2, 90, 'N', 'S');
}

std::optional<NmeaCoordinate> nmea_longitude(const QByteArray &dddmm, const QByteArray &hemisphere)
{
    return convert(dddmm, hemisphere, 3, 180, 'E', 'W');
}

// Written digit by digit: two of these come with every fix.
QString degrees_text(qint64 units)
{
    qint64 magnitude = std::llabs(units);
    char text[24];
    char *end = text + sizeof text, *at = end;
    for (int i = 0; i < decimals; ++i, magnitude /= 10)
        *--at = char('0' + magnitude % 10);
    *--at = '.';
    do {
        *--at = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (units < 0)
        *--at = '-';
    return QString::fromLatin1(at, int(end - at));
}
