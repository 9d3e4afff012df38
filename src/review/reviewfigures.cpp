#include "reviewfigures.h"

#include "qualitycheck.h"

#include <algorithm>
#include <cmath>
#include <limits>

const std::array<SoundEquation, ReviewTotals::equations> ReviewFigures::equations
    = {SoundEquation::unesco, SoundEquation::del_grosso, SoundEquation::mackenzie};

ReviewFigures::ReviewFigures(const ReviewLog &log, const ReviewOptions &options)
    : log(log), stale(options.stale_ms), water_salinity(options.salinity),
      water_depth(options.depth)
{
    find_gaps();
    build_chunks();
}

void ReviewFigures::set_stale_ms(qint64 stale_ms)
{
    stale = stale_ms;
    find_gaps();
}

void ReviewFigures::set_water(double new_salinity, double new_depth)
{
    water_salinity = new_salinity;
    water_depth = new_depth;
    build_chunks();
}

void ReviewFigures::find_gaps()
{
    gap_list.clear();
    gap_before.assign(1, 0);
    for (size_t i = 1; i < log.time.size(); ++i) {
        if (log.time[i] - log.time[i - 1] > stale) {
            gap_list.push_back({log.time[i - 1], log.time[i]});
            gap_before.push_back(gap_before.back() + log.time[i] - log.time[i - 1]);
        }
    }
}

void ReviewFigures::build_chunks()
{
    chunks.assign(log.time.size() / chunk, ReviewTotals());
    for (size_t row = 0; row < chunks.size() * chunk; ++row)
        add_row(chunks[row / chunk], row);
}

void ReviewFigures::add_row(ReviewTotals &totals, size_t row) const
{
    ++totals.readings;
    const Quality quality = Quality(log.quality[row]);
    if (quality == Quality::range) {
        ++totals.range_count;
        return;
    }
    if (quality == Quality::spike) {
        ++totals.spike_count;
        return;
    }
    const double speed = log.speed[row];
    const double temperature = log.temperature[row];
    totals.speed.add(speed);
    if (std::isnan(temperature))
        return;
    totals.temperature.add(temperature);
    totals.paired_speed_sum += speed;
    for (size_t i = 0; i < equations.size(); ++i)
        totals.difference_sum[i]
            += speed - sound_speed(equations[i], water_salinity, temperature, water_depth);
}

SpanFigures ReviewFigures::span(qint64 from_ms, qint64 to_ms) const
{
    if (to_ms < from_ms)
        return figures(0, 0);
    const auto first = std::lower_bound(log.time.begin(), log.time.end(), from_ms);
    const auto end = std::upper_bound(first, log.time.end(), to_ms);
    SpanFigures result = figures(size_t(first - log.time.begin()), size_t(end - log.time.begin()));
    result.rejected = std::upper_bound(log.rejected.begin(), log.rejected.end(), to_ms)
        - std::lower_bound(log.rejected.begin(), log.rejected.end(), from_ms);

    const auto gap_first
        = std::lower_bound(gap_list.begin(), gap_list.end(), from_ms,
                           [](const LogGap &gap, qint64 time) { return gap.from_ms < time; });
    const auto gap_end
        = std::upper_bound(gap_first, gap_list.end(), to_ms,
                           [](qint64 time, const LogGap &gap) { return time < gap.to_ms; });
    result.gap_count = qMax<qint64>(0, gap_end - gap_first);
    if (result.gap_count > 0)
        result.gap_ms = gap_before[size_t(gap_end - gap_list.begin())]
            - gap_before[size_t(gap_first - gap_list.begin())];
    return result;
}

SpanFigures ReviewFigures::whole() const
{
    SpanFigures result = figures(0, log.time.size());
    result.rejected = qint64(log.rejected.size());
    result.gap_count = qint64(gap_list.size());
    result.gap_ms = gap_before.back();
    return result;
}

// Readings first to end (exclusive) by index: whole chunks from their totals.
SpanFigures ReviewFigures::figures(size_t first, size_t end) const
{
    SpanFigures result;
    size_t row = first;
    while (row < end) {
        if (row % chunk == 0 && row + chunk <= end && row / chunk < chunks.size()) {
            result.merge(chunks[row / chunk]);
            row += chunk;
        } else {
            add_row(result, row++);
        }
    }
    if (result.readings >= 2 && log.time[end - 1] > log.time[first])
        result.rate
            = double(result.readings - 1) * 1000.0 / double(log.time[end - 1] - log.time[first]);
    finish(result);
    return result;
}

void ReviewFigures::finish(SpanFigures &result) const
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const qint64 paired = result.temperature.count;
    const double mean_temperature = paired > 0 ? result.temperature.mean : nan;
    const double mean_speed = paired > 0 ? result.paired_speed_sum / double(paired) : nan;
    for (size_t i = 0; i < equations.size(); ++i) {
        CrossCheckFigure &figure = result.cross_check[i];
        figure.equation = equations[i];
        figure.mean_difference = paired > 0 ? result.difference_sum[i] / double(paired) : nan;
        figure.implied_salinity
            = implied_salinity(equations[i], mean_speed, mean_temperature, water_depth);
        figure.water_valid
            = within_validity(equations[i], water_salinity, mean_temperature, water_depth);
        figure.implied_valid
            = within_validity(equations[i], figure.implied_salinity, mean_temperature, water_depth);
    }
}
