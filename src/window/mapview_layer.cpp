#include "mapview_layer.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

const QColor MapTrackLayer::flagged_colour(220, 0, 0);
const QColor MapTrackLayer::vessel_colour(20, 20, 20);
static const char north_mark[] = QT_TRANSLATE_NOOP("MapTrackLayer", "北");

// A metre length for the scale bar: 1, 2 or 5 times a power of ten, at most
// the given length.
static double round_length(double at_most)
{
    const double power = std::pow(10.0, std::floor(std::log10(at_most)));
    for (double step : {5.0, 2.0, 1.0}) {
        if (step * power <= at_most)
            return step * power;
    }
    return power;
}

// QCPRange puts its ends in order, so the span is gathered in plain numbers.
QCPRange MapTrackLayer::range(bool &found, bool east) const
{
    double low = INFINITY, high = -INFINITY;
    const auto take = [&](double value) {
        low = std::min(low, value);
        high = std::max(high, value);
    };
    for (const MapDot &dot : dots)
        take(east ? dot.east : dot.north);
    if (vessel)
        take(east ? vessel->east : vessel->north);
    found = low <= high;
    return found ? QCPRange(low, high) : QCPRange();
}

void MapTrackLayer::draw(QCPPainter *painter)
{
    const QRect rect = clipRect();
    const double dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QImage image(rect.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(dpr);
    draw_dots(image, dpr);
    painter->drawImage(rect.topLeft(), image);
    draw_vessel(painter);
    draw_scale_bar(painter, rect);
}

// Straight into the image's pixels: the axes are linear, so a dot's pixel
// is one multiply and add per axis, and 72,000 of them cost about a
// millisecond where QPainter calls would cost tens.
void MapTrackLayer::draw_dots(QImage &image, double dpr) const
{
    const QCPRange east = keyAxis()->range(), north = valueAxis()->range();
    const int width = image.width(), height = image.height();
    const double x_scale = width / east.size(), y_scale = height / north.size();
    const double colour_scale = (colours.size() - 1) / std::max(speeds.size(), 1e-9);
    const int radius = std::max(1, int(std::lround(dpr)));
    const auto put = [&](int x, int y, QRgb colour) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            reinterpret_cast<QRgb *>(image.scanLine(y))[x] = colour;
    };
    for (const bool flags : {false, true}) {
        for (const MapDot &dot : dots) {
            if (dot.flagged != flags)
                continue;
            const int x = int((dot.east - east.lower) * x_scale);
            const int y = height - 1 - int((dot.north - north.lower) * y_scale);
            if (x < -4 || y < -4 || x > width + 4 || y > height + 4)
                continue;
            if (flags) { // a ring around the spot
                for (int d = -2 * radius; d <= 2 * radius; ++d) {
                    for (const int side : {-2 * radius, 2 * radius}) {
                        put(x + d, y + side, flagged_colour.rgb());
                        put(x + side, y + d, flagged_colour.rgb());
                    }
                }
                continue;
            }
            const int index = std::clamp(int((dot.speed - speeds.lower) * colour_scale), 0,
                                         int(colours.size()) - 1);
            for (int dy = -radius + 1; dy < radius; ++dy) {
                for (int dx = -radius + 1; dx < radius; ++dx)
                    put(x + dx, y + dy, colours.at(index));
            }
            put(x + radius, y, colours.at(index));
            put(x, y + radius, colours.at(index));
        }
    }
}

// A boat-shaped arrow along the course; a disc where the course is unknown.
void MapTrackLayer::draw_vessel(QCPPainter *painter) const
{
    if (!vessel)
        return;
    const QPointF at = coordsToPixels(vessel->east, vessel->north);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(Qt::white, 1.5));
    painter->setBrush(vessel_colour);
    if (std::isnan(vessel->course_deg)) {
        painter->drawEllipse(at, 5.0, 5.0);
        return;
    }
    painter->save();
    painter->translate(at);
    painter->rotate(vessel->course_deg); // clockwise from north, as the screen turns
    painter->drawPolygon(QPolygonF(QVector<QPointF>{{0, -12}, {6, 7}, {0, 3}, {-6, 7}}));
    painter->restore();
}

void MapTrackLayer::draw_scale_bar(QCPPainter *painter, const QRect &rect) const
{
    const double metres_per_pixel = keyAxis()->range().size() / std::max(1, rect.width());
    const double metres = round_length(rect.width() / 5.0 * metres_per_pixel);
    const double length = metres / metres_per_pixel;
    const QPointF start(rect.left() + 12, rect.bottom() - 12);
    const QPointF end = start + QPointF(length, 0);
    const QPointF top(rect.right() - 16, rect.top() + 8);
    // On a pale ground, so a track passing under them does not hide them.
    const QColor ground(255, 255, 255, 200);
    painter->fillRect(QRectF(start.x() - 6, start.y() - 22, length + 12, 28), ground);
    painter->fillRect(QRectF(top.x() - 12, top.y() - 4, 24, 34), ground);
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setFont(keyAxis()->tickLabelFont());
    painter->setPen(QPen(Qt::black, 2));
    painter->drawLine(start, end);
    painter->drawLine(start, start - QPointF(0, 5));
    painter->drawLine(end, end - QPointF(0, 5));
    const QString label = metres >= 1000 ? QStringLiteral("%1 km").arg(metres / 1000)
                                         : QStringLiteral("%1 m").arg(metres);
    painter->drawText(QRectF(start.x(), start.y() - 20, length, 14), Qt::AlignCenter, label);
    // North is up, said once in the corner.
    painter->drawLine(top + QPointF(0, 14), top);
    painter->drawLine(top, top + QPointF(-4, 5));
    painter->drawLine(top, top + QPointF(4, 5));
    painter->drawText(QRectF(top.x() - 10, top.y() + 14, 20, 14), Qt::AlignCenter,
                      QCoreApplication::translate("MapTrackLayer", north_mark));
}
