#include "trendmodel.h"

#include <QtMath>

TrendModel::TrendModel(QObject *parent) : QObject(parent) { }

void TrendModel::add(const TrendSample &sample)
{
    samples.append(sample);
    ++added;
    ++changes;
    last_valid = sample.msecs;
}

int TrendModel::take(const Measurement &measurement)
{
    const Reading &reading = measurement.reading;
    const double no_value = qQNaN();
    const double average
        = measurement.average.isEmpty() ? no_value : measurement.average.toDouble();
    add({measurement.utc_ms, reading.speed, average,
         reading.has_temperature ? reading.temperature : no_value, measurement.quality});
    if (is_stale || port != Stream::flowing) {
        is_stale = false;
        port = Stream::flowing;
        ++changes;
    }
    return 0;
}

void TrendModel::reject(const Reading &line, qint64)
{
    if (line.checksum_failed)
        ++checksums;
    else if (!line.recognised)
        ++unrecognised;
    else
        ++malformed;
    ++changes;
}

void TrendModel::stale(bool stale, qint64)
{
    if (stale == is_stale)
        return;
    is_stale = stale;
    ++changes;
}

void TrendModel::event(const QString &name, qint64)
{
    Stream now = port;
    if (name == QLatin1String("port_closed"))
        now = Stream::closed;
    else if (name == QLatin1String("port_lost"))
        now = Stream::lost;
    else if (name == QLatin1String("port_back"))
        now = Stream::flowing; // the stale deadline tells the rest
    if (now == port)
        return;
    port = now;
    ++changes;
}

TrendModel::Stream TrendModel::stream() const
{
    if (port != Stream::flowing)
        return port;
    return is_stale ? Stream::stale : Stream::flowing;
}

void TrendModel::clear()
{
    samples.clear();
    ++clears;
    ++changes;
}
