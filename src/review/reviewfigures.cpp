#include "reviewfigures.h"

#include <algorithm>

ReviewFigures::ReviewFigures(const ReviewLog &log, const ReviewOptions &options) : log(log)
{
    engine.set_stale_ms(options.stale_ms);
    engine.set_water(options.salinity, options.depth);
    build();
}

void ReviewFigures::set_water(double salinity, double depth)
{
    engine.set_water(salinity, depth);
    build();
}

void ReviewFigures::build()
{
    engine.restart();
    for (size_t row = 0; row < log.time.size(); ++row)
        engine.append({log.time[row], log.speed[row], log.average[row], log.temperature[row],
                       Quality(log.quality[row])});
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
    return result;
}

SpanFigures ReviewFigures::whole() const
{
    SpanFigures result = figures(0, log.time.size());
    result.rejected = qint64(log.rejected.size());
    return result;
}

// Readings first to end (exclusive) by row.
SpanFigures ReviewFigures::figures(size_t first, size_t end) const
{
    return engine.span(qint64(first), qint64(end), [this](qint64 number) {
        const size_t row = size_t(number);
        return TrendSample{log.time[row], log.speed[row], log.average[row], log.temperature[row],
                           Quality(log.quality[row])};
    });
}
