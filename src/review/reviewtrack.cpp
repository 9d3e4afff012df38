#include "reviewtrack.h"

#include <algorithm>
#include <cmath>

static bool positioned(const ReviewLog &log, size_t i)
{
    return std::isfinite(log.latitude[i]) && std::isfinite(log.longitude[i]);
}

QVector<TrackPoint> review_track(const ReviewLog &log, qint64 from_ms, qint64 to_ms, int at_most)
{
    QVector<TrackPoint> points;
    if (log.latitude.size() != log.time.size() || log.longitude.size() != log.time.size())
        return points;
    const size_t first
        = size_t(std::lower_bound(log.time.begin(), log.time.end(), from_ms) - log.time.begin());
    const size_t end
        = size_t(std::upper_bound(log.time.begin(), log.time.end(), to_ms) - log.time.begin());
    size_t count = 0;
    for (size_t i = first; i < end; ++i)
        count += positioned(log, i);
    const size_t step
        = at_most > 0 ? std::max<size_t>(1, (count + size_t(at_most) - 1) / size_t(at_most)) : 1;
    points.reserve(int(count / step + 1));
    size_t seen = 0;
    for (size_t i = first; i < end; ++i) {
        if (!positioned(log, i) || seen++ % step != 0)
            continue;
        points.append({log.time[i], log.latitude[i], log.longitude[i], log.speed[i],
                       log.temperature[i], Quality(log.quality[i])});
    }
    return points;
}

bool has_positions(const ReviewLog &log)
{
    for (size_t i = 0; i < log.latitude.size() && i < log.longitude.size(); ++i)
        if (positioned(log, i))
            return true;
    return false;
}
