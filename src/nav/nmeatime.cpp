#include "nmeatime.h"

static bool digits_only(const QByteArray &text)
{
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return !text.isEmpty();
}

std::optional<qint64> nmea_time_of_day_ms(const QByteArray &text)
{
    const int point = text.indexOf('.');
    const QByteArray whole = point < 0 ? text : text.left(point);
    const QByteArray fraction = point < 0 ? QByteArray() : text.mid(point + 1);
    if (whole.size() != 6 || !digits_only(whole) || (point >= 0 && !digits_only(fraction)))
        return std::nullopt;
    const int hours = whole.left(2).toInt(), minutes = whole.mid(2, 2).toInt(),
              seconds = whole.mid(4, 2).toInt();
    if (hours > 23 || minutes > 59 || seconds > 60)
        return std::nullopt;
    const qint64 ms = fraction.leftJustified(3, '0', true).toLongLong();
    return ((hours * 60 + minutes) * 60 + seconds) * qint64(1000) + ms;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
static qint64 days_from_civil(int year, int month, int day)
{
    year -= month <= 2;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const qint64 year_of_era = year - era * 400;
    const qint64 day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

std::optional<qint64> utc_ms(int year, int month, int day, qint64 time_of_day_ms)
{
    static const int month_days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1980 || year > 9999 || month < 1 || month > 12 || day < 1
        || day > month_days[month - 1] || (month == 2 && day == 29 && !leap))
        return std::nullopt;
    return days_from_civil(year, month, day) * 86400000 + time_of_day_ms;
}

std::optional<qint64> nmea_ddmmyy_ms(const QByteArray &ddmmyy, qint64 time_of_day_ms)
{
    if (ddmmyy.size() != 6 || !digits_only(ddmmyy))
        return std::nullopt;
    const int yy = ddmmyy.mid(4, 2).toInt();
    return utc_ms(yy >= 80 ? 1900 + yy : 2000 + yy, ddmmyy.mid(2, 2).toInt(),
                  ddmmyy.left(2).toInt(), time_of_day_ms);
}
