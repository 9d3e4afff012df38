#include "trendmodel.h"

TrendModel::TrendModel(QObject *parent) : QObject(parent) { }

Quality TrendModel::add(qint64 msecs, double speed, double average, double temperature)
{
    // Times never go backwards in the buffer, even if the clock is set back.
    if (!samples.empty() && msecs < samples.last().msecs)
        msecs = samples.last().msecs;
    const Quality quality = checker.judge(speed);
    samples.append({msecs, speed, average, temperature, quality});
    ++added;
    ++changes;
    last_valid = msecs;
    return quality;
}

void TrendModel::clear()
{
    samples.clear();
    checker.reset();
    ++clears;
    ++changes;
}

void TrendModel::set_malformed_count(qint64 count)
{
    if (count == malformed)
        return;
    malformed = count;
    ++changes;
}

void TrendModel::set_stale(bool stale)
{
    if (stale == is_stale)
        return;
    is_stale = stale;
    ++changes;
}

void TrendModel::set_salinity(double salinity)
{
    if (salinity == water_salinity)
        return;
    water_salinity = salinity;
    ++changes;
    emit settings_changed();
}

void TrendModel::set_depth(double depth)
{
    if (depth == water_depth)
        return;
    water_depth = depth;
    ++changes;
    emit settings_changed();
}
