#include "nmeatime.h"

#include "civildate.h"

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

std::optional<qint64> utc_ms(int year, int month, int day, qint64 time_of_day_ms)
{
    if (year < 1980 || year > 9999 || month < 1 || month > 12 || day < 1
        || day > days_in_month(year, month))
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
