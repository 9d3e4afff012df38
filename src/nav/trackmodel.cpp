#include "trackmodel.h"

static const double radians_per_degree = M_PI / 180.0;

double LocalProjection::east_m(double longitude) const
{
    double difference = std::remainder(longitude - origin_longitude, 360.0);
    return difference * radians_per_degree * earth_radius_m
        * std::cos(origin_latitude * radians_per_degree);
}

double LocalProjection::north_m(double latitude) const
{
    return (latitude - origin_latitude) * radians_per_degree * earth_radius_m;
}

// The ring grows as readings come: a station without a receiver keeps none.
TrackModel::TrackModel(int capacity) : limit(qMax(1, capacity)) { }

void TrackModel::add(const TrackPoint &point)
{
    if (count == 0)
        local = LocalProjection{point.latitude, point.longitude};
    if (count < limit) {
        ring.push_back(point);
        ++count;
    } else {
        ring[size_t(first)] = point;
        first = (first + 1) % capacity();
    }
    ++added;
}

void TrackModel::clear()
{
    first = count = 0;
    ring.clear();
    ++clears;
}

QVector<TrackPoint> TrackModel::points() const
{
    QVector<TrackPoint> all;
    all.reserve(count);
    for (int i = 0; i < count; ++i)
        all.append(at(i));
    return all;
}
