#include "spanstats.h"

#include "trendbuffer.h"

#include <cmath>
#include <limits>

void RunningMoments::add(double value)
{
    ++count;
    if (count == 1) {
        min = max = mean = value;
        squares = 0.0;
        return;
    }
    if (value < min)
        min = value;
    if (value > max)
        max = value;
    const double delta = value - mean;
    mean += delta / double(count);
    squares += delta * (value - mean);
}

void RunningMoments::merge(const RunningMoments &other)
{
    if (other.count == 0)
        return;
    if (count == 0) {
        *this = other;
        return;
    }
    const double total = double(count + other.count);
    const double delta = other.mean - mean;
    mean += delta * double(other.count) / total;
    squares += other.squares + delta * delta * double(count) * double(other.count) / total;
    count += other.count;
    if (other.min < min)
        min = other.min;
    if (other.max > max)
        max = other.max;
}

double RunningMoments::deviation() const
{
    if (count < 2)
        return std::numeric_limits<double>::quiet_NaN();
    return std::sqrt(squares / double(count - 1));
}

void SampleTotals::add(const TrendSample &sample)
{
    speed.add(sample.speed);
    if (!std::isnan(sample.temperature))
        temperature.add(sample.temperature);
    if (sample.quality == Quality::range)
        ++range_count;
    else if (sample.quality == Quality::spike)
        ++spike_count;
}

void SampleTotals::merge(const SampleTotals &other)
{
    speed.merge(other.speed);
    temperature.merge(other.temperature);
    range_count += other.range_count;
    spike_count += other.spike_count;
}

SpanStats span_stats(const TrendBuffer &buffer, qint64 from_msecs, qint64 to_msecs)
{
    SpanStats stats;
    const int first = buffer.first_at_or_after(from_msecs);
    const int end = to_msecs == std::numeric_limits<qint64>::max()
        ? buffer.size()
        : buffer.first_at_or_after(to_msecs + 1);
    int i = first;
    while (i < end) {
        // A whole chunk from here to before end: its totals at once.
        const SampleTotals *chunk = buffer.chunk_totals_at(i);
        if (chunk && i + TrendBuffer::chunk <= end) {
            stats.merge(*chunk);
            i += TrendBuffer::chunk;
        } else {
            stats.add(buffer.at(i++));
        }
    }
    stats.count = stats.speed.count;
    if (stats.count >= 2) {
        const qint64 elapsed = buffer.at(end - 1).msecs - buffer.at(first).msecs;
        if (elapsed > 0)
            stats.rate = double(stats.count - 1) * 1000.0 / double(elapsed);
    }
    return stats;
}
