#include "reviewtotals.h"

void ReviewTotals::merge(const ReviewTotals &other)
{
    readings += other.readings;
    speed.merge(other.speed);
    temperature.merge(other.temperature);
    range_count += other.range_count;
    spike_count += other.spike_count;
    paired_speed_sum += other.paired_speed_sum;
    for (int i = 0; i < equations; ++i)
        difference_sum[size_t(i)] += other.difference_sum[size_t(i)];
}
