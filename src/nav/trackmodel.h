#ifndef TRACKMODEL_H
#define TRACKMODEL_H

#include "trackpoint.h"

#include <QVector>

#include <optional>
#include <vector>

// East and north in metres from an origin, on a sphere of the Earth's mean
// radius: over a survey's few tens of kilometres the distances are true to
// well under a percent, which is all a map without tiles needs. Longitudes
// are taken across the date line the short way.
struct LocalProjection
{
    static constexpr double earth_radius_m = 6371008.8;
    double origin_latitude = 0.0, origin_longitude = 0.0;

    double east_m(double longitude) const;
    double north_m(double latitude) const;
};

// The vessel's newest position and heading, which may be newer than the
// newest reading.
struct VesselMark
{
    double latitude = 0.0, longitude = 0.0;
    double course_deg = NAN; // over ground, true; NaN when unknown
};

// The readings of the map, oldest first: a ring that keeps the newest
// `capacity` (two hours at 10 readings a second by default) and drops the
// oldest. The projection's origin is the first reading after a clear, so
// points once projected keep their place.
class TrackModel
{
public:
    static constexpr int default_capacity = 72000;

    explicit TrackModel(int capacity = default_capacity);

    void add(const TrackPoint &point);
    void clear();

    int size() const { return count; }
    int capacity() const { return limit; }
    const TrackPoint &at(int index) const { return ring[size_t(first + index) % ring.size()]; }
    QVector<TrackPoint> points() const;
    // Readings ever added and clears made: a view compares them with what it
    // drew to add only what is new.
    qint64 sequence() const { return added; }
    int clear_count() const { return clears; }

    const LocalProjection &projection() const { return local; }

    void set_vessel(const VesselMark &mark) { vessel_mark = mark; }
    void clear_vessel() { vessel_mark.reset(); }
    const std::optional<VesselMark> &vessel() const { return vessel_mark; }

private:
    std::vector<TrackPoint> ring;
    int limit;
    int first = 0;
    int count = 0;
    qint64 added = 0;
    int clears = 0;
    LocalProjection local;
    std::optional<VesselMark> vessel_mark;
};

#endif
