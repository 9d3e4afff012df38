#include "nmeasentence.h"

#include <algorithm>

QByteArray NmeaSentence::checksum(const QByteArray &body)
{
    unsigned char sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    return QByteArray::number(sum, 16).toUpper().rightJustified(2, '0');
}

// The two hex digits given, either case, against the body's checksum.
static bool checksum_matches(const QByteArray &body, char high, char low)
{
    unsigned char sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    const auto digit = [](unsigned value) { return "0123456789ABCDEF"[value & 15]; };
    const auto upper = [](char c) { return c >= 'a' && c <= 'f' ? char(c - 'a' + 'A') : c; };
    return upper(high) == digit(sum >> 4) && upper(low) == digit(sum);
}

QByteArray NmeaSentence::framed(const QByteArray &body)
{
    return '$' + body + '*' + checksum(body);
}

NmeaSentence::Check NmeaSentence::split(const QByteArray &line, NmeaSentence *sentence)
{
    // "!" starts encapsulated sentences (AIS) that share a multiplexed port.
    const int dollar = std::max(line.lastIndexOf('$'), line.lastIndexOf('!'));
    if (dollar < 0)
        return fragment;
    const int star = line.indexOf('*', dollar);
    // The checksum ends the sentence: "*hh" and nothing after it.
    if (star < 0 || star + 3 != line.size())
        return bad_checksum;
    const QByteArray body = line.mid(dollar + 1, star - dollar - 1);
    if (!checksum_matches(body, line.at(star + 1), line.at(star + 2)))
        return bad_checksum;

    QList<QByteArray> parts = body.split(',');
    const QByteArray address = parts.takeFirst();
    const bool proprietary = address.startsWith('P');
    sentence->talker = proprietary || address.size() != 5 ? QByteArray() : address.left(2);
    sentence->kind = proprietary || address.size() != 5 ? address : address.mid(2);
    sentence->fields = parts;
    return good;
}
