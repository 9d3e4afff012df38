#ifndef CIVILDATE_H
#define CIVILDATE_H

#include <QtGlobal>

// Dates of the proleptic Gregorian calendar as day numbers, for readers that
// turn a million dated texts into times without QDateTime's cost.

// Days from 1970-01-01 (Howard Hinnant's days_from_civil).
inline qint64 days_from_civil(int year, int month, int day)
{
    year -= month <= 2;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const qint64 year_of_era = year - era * 400;
    const qint64 day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

inline int days_in_month(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

#endif
