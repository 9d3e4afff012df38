#ifndef NAVFIX_H
#define NAVFIX_H

#include "nmeacoordinate.h"

#include <QByteArray>
#include <QMetaType>

#include <cmath>

// A valid position from GGA, RMC or GNS.
struct NavFix
{
    QByteArray talker; // "GP", "GN"...
    QByteArray kind; // the sentence it came from
    qint64 time_of_day_ms = -1; // UTC, -1 if the sentence had none
    NmeaCoordinate latitude, longitude;
    // GGA's fix quality: 1 GNSS, 2 differential, 4 RTK fixed, 5 RTK float,
    // 6 dead reckoning...; RMC's and GNS's mode letters map to the same numbers.
    int quality = 1;
    int satellites = -1; // -1: not given
    double hdop = NAN;
    double altitude_m = NAN; // above mean sea level
};

// Course and speed over ground from RMC or VTG.
struct CourseSpeed
{
    double course_deg = NAN; // true; NaN when the receiver gives none (at rest)
    double speed_m_s = NAN;
};

// What the counters of a sentence stream hold. Only used sentences count in
// `used`; every other line lands in exactly one of the others.
struct NmeaCounts
{
    qint64 used = 0;
    qint64 checksum = 0; // wrong or missing checksum
    qint64 void_fix = 0; // RMC "V", GGA quality 0, GNS all "N", VTG "N"
    qint64 bad_fields = 0; // empty or malformed fields where values are needed
    qint64 other = 0; // well-formed sentences of other kinds
    qint64 overlong = 0; // lines longer than any sentence
    qint64 fragments = 0; // pieces of sentences cut short

    bool operator==(const NmeaCounts &o) const
    {
        return used == o.used && checksum == o.checksum && void_fix == o.void_fix
            && bad_fields == o.bad_fields && other == o.other && overlong == o.overlong
            && fragments == o.fragments;
    }
    bool operator!=(const NmeaCounts &o) const { return !(*this == o); }
};

// Carried by NavInput's signals, also across threads.
Q_DECLARE_METATYPE(NavFix)
Q_DECLARE_METATYPE(CourseSpeed)
Q_DECLARE_METATYPE(NmeaCounts)

#endif
