#include "clockoffset.h"

#include <algorithm>
#include <cmath>

void ClockOffset::measure(qint64 arrival_ms, qint64 gnss_utc_ms)
{
    samples.append({arrival_ms, arrival_ms - gnss_utc_ms});
    // Dropped in chunks, so a steady stream does not move the whole history
    // at every sentence.
    const qint64 oldest_kept = arrival_ms - history_span_ms;
    const auto first_kept
        = std::find_if(samples.cbegin(), samples.cend(),
                       [oldest_kept](const Sample &s) { return s.arrival_ms >= oldest_kept; });
    const int old = int(first_kept - samples.cbegin());
    if (samples.size() > history_capacity)
        samples.remove(0, std::max(old, samples.size() - history_capacity * 9 / 10));
    else if (old > samples.size() / 100)
        samples.remove(0, old);
    QVector<qint64> recent;
    for (auto s = samples.crbegin(); s != samples.crend(); ++s) {
        if (arrival_ms - s->arrival_ms > median_span_ms)
            break;
        recent.append(s->offset_ms);
    }
    // The lower of the two middle ones: latency only adds.
    const auto middle = recent.begin() + (recent.size() - 1) / 2;
    std::nth_element(recent.begin(), middle, recent.end());
    median = *middle;
}

std::optional<qint64> ClockOffset::in_force_ms(qint64 now_ms) const
{
    if (samples.isEmpty())
        return std::nullopt;
    const qint64 newest = samples.last().arrival_ms;
    if (now_ms - newest > lapse_ms || now_ms < newest - lapse_ms)
        return std::nullopt;
    return median;
}

bool ClockOffset::exceeds(double limit_s, qint64 now_ms) const
{
    const auto offset = in_force_ms(now_ms);
    return offset && std::abs(double(*offset)) > limit_s * 1000.0;
}
