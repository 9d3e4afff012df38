#include "nmeasentence.h"

#include <algorithm>

QByteArray NmeaSentence::checksum(const QByteArray &body)
{
    unsigned char sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    return QByteArray::number(sum, 16).toUpper().rightJustified(2, '0');
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
    if (line.mid(star + 1).toUpper() != checksum(body))
        return bad_checksum;

    QList<QByteArray> parts = body.split(',');
    const QByteArray address = parts.takeFirst();
    const bool proprietary = address.startsWith('P');
    sentence->talker = proprietary || address.size() != 5 ? QByteArray() : address.left(2);
    sentence->kind = proprietary || address.size() != 5 ? address : address.mid(2);
    sentence->fields = parts;
    return good;
}
