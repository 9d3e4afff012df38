#ifndef SESSIONMAP_H
#define SESSIONMAP_H

#include "trackpoint.h"

#include <QColor>
#include <QCoreApplication>
#include <QRectF>
#include <QVector>

class QPainter;

// The report's map: the positioned readings on a plain plot, north up, one
// scale east and north, each reading a dot coloured by its sound speed (blue
// slow to red fast over the good readings' range), flagged ones as rings; a
// colour key, a scale bar and a north mark. No map tiles. unit: device units
// a millimetre.
class SessionMap
{
    Q_DECLARE_TR_FUNCTIONS(SessionMap)

public:
    static constexpr int most_dots = 5000; // a few hundred kilobytes of PDF

    SessionMap(const QVector<TrackPoint> &points, qreal unit) : points(points), unit(unit) { }

    void draw(QPainter &painter, const QRectF &area) const;

    // The colour of speed on a scale from low to high.
    static QColor colour(double speed, double low, double high);

private:
    void draw_key(QPainter &painter, const QRectF &key, double low, double high) const;
    void draw_scale_bar(QPainter &painter, const QRectF &frame, double metres_per_unit) const;

    const QVector<TrackPoint> &points;
    qreal unit;
};

#endif
