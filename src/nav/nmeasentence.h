#ifndef NMEASENTENCE_H
#define NMEASENTENCE_H

#include <QByteArray>
#include <QList>

// One NMEA 0183 sentence taken apart: "$GPGGA,a,b*hh" has the talker "GP",
// the kind "GGA" and the fields "a", "b".
struct NmeaSentence
{
    enum Check {
        good,
        bad_checksum, // wrong or missing
        fragment, // no "$" (or "!"): the tail of a sentence cut short
    };

    QByteArray talker; // two letters; empty for a proprietary sentence
    QByteArray kind; // "GGA", "RMC"...
    QList<QByteArray> fields; // after the address field

    // Checks one line (without its line end) and splits it. Text before the
    // last "$" is left out; it is a fragment of an earlier, cut sentence.
    static Check split(const QByteArray &line, NmeaSentence *sentence);
    // The two upper-case hex digits of the XOR of the bytes between "$" and "*".
    static QByteArray checksum(const QByteArray &body);
    // "$" + body + "*" + checksum, without a line end.
    static QByteArray framed(const QByteArray &body);

    QByteArray field(int index) const { return fields.value(index); }
};

#endif
