#include "spanstats.h"

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

void FigureTotals::merge(const FigureTotals &other)
{
    readings += other.readings;
    speed.merge(other.speed);
    temperature.merge(other.temperature);
    flagged_speed.merge(other.flagged_speed);
    flagged_temperature.merge(other.flagged_temperature);
    range_count += other.range_count;
    spike_count += other.spike_count;
    paired_speed_sum += other.paired_speed_sum;
    for (size_t i = 0; i < difference_sum.size(); ++i)
        difference_sum[i] += other.difference_sum[i];
}
