#ifndef NMEACOORDINATE_H
#define NMEACOORDINATE_H

#include <QByteArray>
#include <QString>

#include <optional>

// A latitude or longitude in decimal degrees, as exact text with 7 decimals
// (C locale, south and west negative) and as the double nearest to that text.
struct NmeaCoordinate
{
    QString text;
    double degrees = 0.0;
    qint64 units = 0; // degrees times 10^7, the text's exact value
};

// Converts a sentence's "ddmm.mmmm" (latitude) or "dddmm.mmmm" (longitude)
// and its hemisphere letter to decimal degrees. The arithmetic is decimal on
// the text: degrees + minutes / 60, rounded half away from zero at the 7th
// decimal, so no binary rounding creeps into a surveyed position. Empty or
// malformed fields, minutes of 60 or more and values beyond 90 or 180
// degrees give nothing.
std::optional<NmeaCoordinate> nmea_latitude(const QByteArray &ddmm, const QByteArray &hemisphere);
std::optional<NmeaCoordinate> nmea_longitude(const QByteArray &dddmm, const QByteArray &hemisphere);

// The text of units (degrees times 10^7) with 7 decimals: "-12.3456789".
QString degrees_text(qint64 units);

#endif
