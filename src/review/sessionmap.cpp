#include "sessionmap.h"

#include "trackexport.h"
#include "trackmodel.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

QColor SessionMap::colour(double speed, double low, double high)
{
    const double share = high > low ? std::clamp((speed - low) / (high - low), 0.0, 1.0) : 0.5;
    return QColor::fromHsvF(2.0 / 3.0 * (1.0 - share), 0.9, 0.9);
}

// The good readings set the colours, as on the live map.
static void speed_range(const QVector<TrackPoint> &points, double *low, double *high)
{
    *low = INFINITY;
    *high = -INFINITY;
    for (const TrackPoint &p : points) {
        if (p.quality == Quality::ok && std::isfinite(p.speed_m_s)) {
            *low = std::min(*low, p.speed_m_s);
            *high = std::max(*high, p.speed_m_s);
        }
    }
    if (*low > *high)
        *low = *high = 1500.0;
}

void SessionMap::draw(QPainter &painter, const QRectF &area) const
{
    if (points.isEmpty())
        return;
    const QRectF key(area.right() - 14 * unit, area.top(), 4 * unit, area.height());
    const QRectF frame(area.left(), area.top(), key.left() - area.left() - 6 * unit, area.height());
    const LocalProjection local{points.first().latitude, points.first().longitude};
    double west = INFINITY, east = -INFINITY, south = INFINITY, north = -INFINITY;
    for (const TrackPoint &p : points) {
        west = std::min(west, local.east_m(p.longitude));
        east = std::max(east, local.east_m(p.longitude));
        south = std::min(south, local.north_m(p.latitude));
        north = std::max(north, local.north_m(p.latitude));
    }
    // One scale both ways, with some room around; at least 100 m across.
    const double per_unit = std::max({(east - west) / frame.width(),
                                      (north - south) / frame.height(), 100.0 / frame.width()})
        * 1.1;
    const QPointF centre = frame.center();
    const auto place = [&](const TrackPoint &p) {
        return QPointF(centre.x() + (local.east_m(p.longitude) - (west + east) / 2) / per_unit,
                       centre.y() - (local.north_m(p.latitude) - (south + north) / 2) / per_unit);
    };
    double low = 0, high = 0;
    speed_range(points, &low, &high);
    painter.save();
    painter.setPen(QPen(Qt::black, 0.2 * unit));
    painter.drawRect(frame);
    painter.setClipRect(frame);
    const qreal dot = 0.9 * unit;
    const int step = std::max(1, int(points.size() + most_dots - 1) / most_dots);
    for (int i = 0; i < points.size(); i += step) {
        const TrackPoint &p = points.at(i);
        const QRectF spot(place(p) - QPointF(dot / 2, dot / 2), QSizeF(dot, dot));
        if (p.quality == Quality::ok) {
            painter.fillRect(spot, colour(p.speed_m_s, low, high));
        } else {
            painter.setPen(QPen(Qt::black, 0.15 * unit));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(spot);
        }
    }
    painter.setClipping(false);
    draw_scale_bar(painter, frame, per_unit);
    draw_key(painter, key, low, high);
    painter.restore();
}

void SessionMap::draw_key(QPainter &painter, const QRectF &key, double low, double high) const
{
    const int steps = 64;
    for (int i = 0; i < steps; ++i) {
        const double share = (i + 0.5) / steps;
        painter.fillRect(QRectF(key.left(), key.bottom() - key.height() * (i + 1) / steps,
                                key.width(), key.height() / steps + 1),
                         colour(low + share * (high - low), low, high));
    }
    painter.setPen(QPen(Qt::black, 0.2 * unit));
    painter.drawRect(key);
    const QRectF label(key.right() + unit, key.top(), 10 * unit, 4 * unit);
    painter.drawText(label, Qt::AlignLeft | Qt::AlignTop, track_export::number_text(high, 2));
    painter.drawText(label.translated(0, key.height() - 4 * unit), Qt::AlignLeft | Qt::AlignBottom,
                     track_export::number_text(low, 2));
    painter.save();
    painter.translate(key.right() + 4 * unit, key.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-30 * unit, -2 * unit, 60 * unit, 6 * unit), Qt::AlignCenter,
                     tr("声速 (m/s)"));
    painter.restore();
}

// A bar of 1, 2 or 5 times a power of ten metres, near a fifth of the
// frame, and the north mark above it.
void SessionMap::draw_scale_bar(QPainter &painter, const QRectF &frame,
                                double metres_per_unit) const
{
    const double wanted = frame.width() / 5 * metres_per_unit;
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    double metres = power;
    for (double multiple : {2.0, 5.0})
        if (multiple * power <= wanted)
            metres = multiple * power;
    const qreal length = metres / metres_per_unit;
    const QPointF start(frame.left() + 5 * unit, frame.bottom() - 5 * unit);
    painter.setPen(QPen(Qt::black, 0.5 * unit));
    painter.drawLine(start, start + QPointF(length, 0));
    const QString text = metres >= 1000 ? track_export::number_text(metres / 1000, 0) + " km"
                                        : track_export::number_text(metres, 0) + " m";
    painter.drawText(QRectF(start.x(), start.y() - 6 * unit, length, 5 * unit),
                     Qt::AlignHCenter | Qt::AlignBottom, text);
    const QPointF arrow(frame.right() - 8 * unit, frame.top() + 12 * unit);
    painter.drawLine(arrow, arrow - QPointF(0, 7 * unit));
    painter.drawLine(arrow - QPointF(0, 7 * unit), arrow - QPointF(1.5 * unit, 5 * unit));
    painter.drawLine(arrow - QPointF(0, 7 * unit), arrow - QPointF(-1.5 * unit, 5 * unit));
    painter.drawText(QRectF(arrow.x() - 3 * unit, arrow.y(), 6 * unit, 5 * unit), Qt::AlignCenter,
                     QStringLiteral("N"));
}
