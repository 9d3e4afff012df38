#include "qualitycheck.h"

#include <algorithm>
#include <cmath>

const char *quality_name(Quality quality)
{
    switch (quality) {
    case Quality::range:
        return "range";
    case Quality::spike:
        return "spike";
    case Quality::ok:
        break;
    }
    return "ok";
}

void QualityCheck::set_range(double range_low, double range_high)
{
    low = range_low;
    high = range_high;
}

Quality QualityCheck::judge(double speed)
{
    Quality quality = Quality::ok;
    // A reading that is not a number cannot be within any limits.
    if (!(speed >= low && speed <= high))
        quality = Quality::range;
    else if (filled >= least && std::fabs(speed - median_of_recent()) > spike_threshold)
        quality = Quality::spike;

    // Something that is not a number would leave the median undefined.
    if (std::isfinite(speed)) {
        recent[next] = speed;
        next = (next + 1) % window;
        filled = std::min(filled + 1, window);
    }
    return quality;
}

void QualityCheck::reset()
{
    filled = 0;
    next = 0;
}

double QualityCheck::median_of_recent() const
{
    std::array<double, window> sorted = recent;
    const auto end = sorted.begin() + filled;
    const auto middle = sorted.begin() + filled / 2;
    std::nth_element(sorted.begin(), middle, end);
    if (filled % 2 == 1)
        return *middle;
    // Even count: the mean of the two middle readings; the lower one is the
    // largest of those below the middle.
    return (*middle + *std::max_element(sorted.begin(), middle)) / 2.0;
}
