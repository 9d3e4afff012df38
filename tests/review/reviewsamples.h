// Log rows, raw recording stamps and reference figures the review tests build
// their files and expectations from.
#pragma once

#include "reviewfigures.h"

#include <QDateTime>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <numeric>

#include <QtTest>

inline const QByteArray header
    = "time_utc,speed_m_s,temperature_c,average_m_s,quality,event,forwarded\n";
inline const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();

inline QByteArray utc(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs).toLatin1();
}

inline QByteArray row(qint64 ms, double speed, double temperature, const char *quality = "ok")
{
    const QByteArray t = std::isnan(temperature) ? "" : QByteArray::number(temperature, 'f', 4);
    return utc(ms) + ',' + QByteArray::number(speed, 'f', 3) + ',' + t + ",," + quality + ",,1\n";
}

inline QByteArray marker(qint64 ms, const char *name)
{
    return utc(ms) + ",,,,," + name + ",\n";
}

inline QByteArray stamp(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString("yyyy_MM_dd_hh_mm_ss").toLatin1() + "\r\n";
}

// Mean and sample deviation in two passes, independent of the chunk totals.
inline std::pair<double, double> mean_deviation(const QVector<double> &v)
{
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / v.size();
    double squares = 0;
    for (double x : v)
        squares += (x - mean) * (x - mean);
    return {mean, std::sqrt(squares / (v.size() - 1))};
}

inline void compare(const RunningMoments &m, const QVector<double> &values)
{
    QCOMPARE(m.count, qint64(values.size()));
    const auto [mean, deviation] = mean_deviation(values);
    QVERIFY(qAbs(m.mean - mean) < 1e-9);
    QCOMPARE(m.min, *std::min_element(values.begin(), values.end()));
    QCOMPARE(m.max, *std::max_element(values.begin(), values.end()));
    QVERIFY(qAbs(m.deviation() - deviation) < 1e-9);
}

// A short session: a configuration, 40 readings 1490..1494 in turn with one
// spike, a gap of 7.3 s holding a loss of 6.8 s, and an alarm; the good
// speeds go to *good.
inline QByteArray session(QVector<double> *good)
{
    QByteArray bytes = header + marker(t0 - 1000, "config_start") + marker(t0 - 500, "config_end");
    for (int i = 0; i < 40; ++i) {
        if (i == 20)
            bytes += marker(t0 + 5100, "port_lost") + marker(t0 + 11900, "port_back");
        bytes += row(t0 + i * 250 + (i >= 20 ? 7050 : 0), 1490 + (i % 5), 10.5,
                     i == 33 ? "spike" : "ok");
        if (i != 33)
            good->append(1490 + i % 5);
    }
    return bytes + marker(t0 + 17000, "alarm_on:声速过高")
        + marker(t0 + 18000, "alarm_off:声速过高");
}

// Many gaps, losses and alarms, 4 s apart.
inline QByteArray long_session()
{
    QByteArray bytes = header;
    for (qint64 ms = t0; ms < t0 + 40 * 4000; ms += 4000)
        bytes += row(ms, 1500, 10) + marker(ms + 1, "port_lost") + marker(ms + 2, "port_back")
            + marker(ms + 3, "alarm_on:a") + marker(ms + 4, "alarm_off:a");
    return bytes;
}
