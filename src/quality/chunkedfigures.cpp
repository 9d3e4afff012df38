#include "chunkedfigures.h"

#include <algorithm>
#include <cmath>
#include <limits>

const std::array<SoundEquation, FigureTotals::equations> ChunkedFigures::equations
    = {SoundEquation::unesco, SoundEquation::del_grosso, SoundEquation::mackenzie};

void ChunkedFigures::set_water(double salinity, double depth)
{
    water = true;
    water_salinity = salinity;
    water_depth = depth;
}

void ChunkedFigures::restart(qint64 first)
{
    next = first;
    filling_whole = first % chunk == 0;
    first_chunk = first / chunk + (filling_whole ? 0 : 1);
    chunks.clear();
    filling = FigureTotals();
    last_ms = -1;
    gap_list.clear();
    gap_before.clear();
    gap_total = 0;
}

void ChunkedFigures::append(const TrendSample &reading)
{
    if (last_ms >= 0 && reading.msecs - last_ms > stale) {
        gap_list.push_back({last_ms, reading.msecs});
        gap_before.push_back(gap_total);
        gap_total += reading.msecs - last_ms;
    }
    last_ms = reading.msecs;
    add(filling, reading);
    if (++next % chunk == 0) {
        if (filling_whole)
            chunks.push_back(filling);
        filling = FigureTotals();
        filling_whole = true;
    }
}

void ChunkedFigures::forget_before(qint64 first, qint64 first_ms)
{
    while (!chunks.empty() && first_chunk * chunk < first) {
        chunks.pop_front();
        ++first_chunk;
    }
    while (!gap_list.empty() && gap_list.front().from_ms < first_ms) {
        gap_list.pop_front();
        gap_before.pop_front();
    }
}

void ChunkedFigures::add(FigureTotals &totals, const TrendSample &reading) const
{
    ++totals.readings;
    const bool has_temperature = !std::isnan(reading.temperature);
    if (reading.quality != Quality::ok) {
        ++(reading.quality == Quality::range ? totals.range_count : totals.spike_count);
        totals.flagged_speed.add(reading.speed);
        if (has_temperature)
            totals.flagged_temperature.add(reading.temperature);
        return;
    }
    totals.speed.add(reading.speed);
    if (!has_temperature)
        return;
    totals.temperature.add(reading.temperature);
    if (!water)
        return;
    totals.paired_speed_sum += reading.speed;
    for (size_t i = 0; i < equations.size(); ++i)
        totals.difference_sum[i] += reading.speed
            - sound_speed(equations[i], water_salinity, reading.temperature, water_depth);
}

SpanFigures ChunkedFigures::span(qint64 first, qint64 end, const ReadingAt &at) const
{
    SpanFigures result;
    for (qint64 number = first; number < end;) {
        const qint64 held = number / chunk - first_chunk;
        if (number % chunk == 0 && number + chunk <= end && held >= 0
            && held < qint64(chunks.size())) {
            result.merge(chunks[size_t(held)]);
            number += chunk;
        } else {
            add(result, at(number++));
        }
    }
    if (end > first) {
        const qint64 first_ms = at(first).msecs, last_ms = at(end - 1).msecs;
        if (result.readings >= 2 && last_ms > first_ms)
            result.rate = double(result.readings - 1) * 1000.0 / double(last_ms - first_ms);
        count_gaps(result, first_ms, last_ms);
    }
    if (water)
        cross_check(result);
    return result;
}

void ChunkedFigures::count_gaps(SpanFigures &figures, qint64 from_ms, qint64 to_ms) const
{
    const auto gap_first
        = std::lower_bound(gap_list.begin(), gap_list.end(), from_ms,
                           [](const LogGap &gap, qint64 time) { return gap.from_ms < time; });
    const auto gap_end
        = std::upper_bound(gap_first, gap_list.end(), to_ms,
                           [](qint64 time, const LogGap &gap) { return time < gap.to_ms; });
    figures.gap_count = gap_end - gap_first;
    if (figures.gap_count == 0)
        return;
    const size_t from = size_t(gap_first - gap_list.begin());
    const size_t to = size_t(gap_end - gap_list.begin());
    figures.gap_ms = (to < gap_before.size() ? gap_before[to] : gap_total) - gap_before[from];
}

void ChunkedFigures::cross_check(SpanFigures &result) const
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
