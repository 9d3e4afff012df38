#ifndef NMEATIME_H
#define NMEATIME_H

#include <QByteArray>

#include <optional>

// "hhmmss" or "hhmmss.sss" as milliseconds since midnight UTC; a leap second
// (ss = 60) is allowed. Digits past the millisecond are dropped.
std::optional<qint64> nmea_time_of_day_ms(const QByteArray &text);

// Milliseconds since 1970-01-01T00:00:00Z of a UTC date and a time of day,
// or nothing for a date that does not exist.
std::optional<qint64> utc_ms(int year, int month, int day, qint64 time_of_day_ms);

// RMC's "ddmmyy": two-digit years are 1980 to 2079, the span GNSS dates fall in.
std::optional<qint64> nmea_ddmmyy_ms(const QByteArray &ddmmyy, qint64 time_of_day_ms);

#endif
