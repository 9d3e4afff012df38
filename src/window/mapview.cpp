#include "mapview.h"

#include "trackmodel.h"

#include <algorithm>
#include <cmath>
#include <optional>

static const char east_axis_name[] = "东向 (m)";
static const char north_axis_name[] = "北向 (m)";
static const char speed_scale_name[] = "声速 (m/s)";
static const char flagged_name[] = "标记读数";
static const char vessel_name[] = "船位与航向";
static const char north_mark[] = "北";
static const QColor flagged_colour(220, 0, 0);
static const QColor vessel_colour(20, 20, 20);

namespace {

struct Vessel
{
    double east, north, course_deg;
};

// A metre length for the scale bar: 1, 2 or 5 times a power of ten, at most
// the given length.
double round_length(double at_most)
{
    const double power = std::pow(10.0, std::floor(std::log10(at_most)));
    for (double step : {5.0, 2.0, 1.0}) {
        if (step * power <= at_most)
            return step * power;
    }
    return power;
}

} // namespace

// Draws what the map holds: the dots as one image, the flags, the vessel,
// the scale bar and the north mark.
class TrackLayer : public QCPAbstractPlottable
{
public:
    TrackLayer(QCPAxis *key, QCPAxis *value, const std::deque<MapView::Dot> &dots)
        : QCPAbstractPlottable(key, value), dots(dots)
    {
    }

    QCPRange speeds{0.0, 1.0};
    std::optional<Vessel> vessel;
    QVector<QRgb> colours; // slow to fast

    double selectTest(const QPointF &, bool, QVariant *) const override { return -1.0; }
    QCPRange getKeyRange(bool &found, QCP::SignDomain) const override { return range(found, true); }
    QCPRange getValueRange(bool &found, QCP::SignDomain, const QCPRange &) const override
    {
        return range(found, false);
    }

protected:
    void draw(QCPPainter *painter) override;
    void drawLegendIcon(QCPPainter *, const QRectF &) const override { }

private:
    QCPRange range(bool &found, bool east) const;
    void draw_dots(QImage &image, double dpr) const;
    void draw_vessel(QCPPainter *painter) const;
    void draw_scale_bar(QCPPainter *painter, const QRect &rect) const;

    const std::deque<MapView::Dot> &dots;
};

// QCPRange puts its ends in order, so the span is gathered in plain numbers.
QCPRange TrackLayer::range(bool &found, bool east) const
{
    double low = INFINITY, high = -INFINITY;
    const auto take = [&](double value) {
        low = std::min(low, value);
        high = std::max(high, value);
    };
    for (const MapView::Dot &dot : dots)
        take(east ? dot.east : dot.north);
    if (vessel)
        take(east ? vessel->east : vessel->north);
    found = low <= high;
    return found ? QCPRange(low, high) : QCPRange();
}

void TrackLayer::draw(QCPPainter *painter)
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
void TrackLayer::draw_dots(QImage &image, double dpr) const
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
        for (const MapView::Dot &dot : dots) {
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
void TrackLayer::draw_vessel(QCPPainter *painter) const
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

void TrackLayer::draw_scale_bar(QCPPainter *painter, const QRect &rect) const
{
    const double metres_per_pixel = keyAxis()->range().size() / std::max(1, rect.width());
    const double metres = round_length(rect.width() / 5.0 * metres_per_pixel);
    const double length = metres / metres_per_pixel;
    const QPointF start(rect.left() + 12, rect.bottom() - 12);
    const QPointF end = start + QPointF(length, 0);
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
    const QPointF top(rect.right() - 16, rect.top() + 8);
    painter->drawLine(top + QPointF(0, 14), top);
    painter->drawLine(top, top + QPointF(-4, 5));
    painter->drawLine(top, top + QPointF(4, 5));
    painter->drawText(QRectF(top.x() - 10, top.y() + 14, 20, 14), Qt::AlignCenter,
                      QString::fromUtf8(north_mark));
}

MapView::MapView(QWidget *parent) : QCustomPlot(parent)
{
    layer = new TrackLayer(xAxis, yAxis, drawn);
    scale = new QCPColorScale(this);
    style();
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setNoAntialiasingOnDrag(true);
    connect(this, &QCustomPlot::afterLayout, this, &MapView::keep_one_scale);
}

void MapView::style()
{
    QFont small = font();
    small.setPointSize(7);
    xAxis->setLabel(QString::fromUtf8(east_axis_name));
    yAxis->setLabel(QString::fromUtf8(north_axis_name));
    for (QCPAxis *axis : {xAxis, yAxis, scale->axis()}) {
        axis->setTickLabelFont(small);
        axis->setLabelFont(small);
    }
    QCPColorGradient gradient(QCPColorGradient::gpJet);
    gradient.setLevelCount(256);
    for (int i = 0; i < 256; ++i)
        layer->colours.append(gradient.color(i, QCPRange(0, 255)));
    scale->setGradient(gradient);
    scale->setLabel(QString::fromUtf8(speed_scale_name));
    scale->setBarWidth(10);
    plotLayout()->addElement(0, 1, scale);
    // The legend's entries stand for marks the layer draws.
    QCPGraph *flags = addGraph();
    flags->setName(QString::fromUtf8(flagged_name));
    flags->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, flagged_colour, 7));
    QCPGraph *vessel = addGraph();
    vessel->setName(QString::fromUtf8(vessel_name));
    vessel->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssTriangle, vessel_colour, vessel_colour, 9));
    for (QCPGraph *entry : {flags, vessel})
        entry->setLineStyle(QCPGraph::lsNone);
    legend->setVisible(true);
    legend->setFont(small);
    legend->setBorderPen(Qt::NoPen);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setIconSize(14, 8);
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, legend);
    plotLayout()->setRowStretchFactor(0, 0.001);
}

bool MapView::sync(const TrackModel &model)
{
    bool changed = false;
    if (model.clear_count() != seen_clears || model.sequence() - synced > model.size()) {
        drawn.clear();
        seen_clears = model.clear_count();
        synced = model.sequence() - model.size();
        changed = true;
    }
    const LocalProjection &local = model.projection();
    for (int i = model.size() - int(model.sequence() - synced); i < model.size(); ++i) {
        const TrackPoint &p = model.at(i);
        drawn.push_back({float(local.east_m(p.longitude)), float(local.north_m(p.latitude)),
                         float(p.speed_m_s), p.quality != Quality::ok});
        changed = true;
    }
    synced = model.sequence();
    while (int(drawn.size()) > model.size())
        drawn.pop_front();
    std::optional<Vessel> vessel;
    if (const auto &mark = model.vessel())
        vessel = Vessel{local.east_m(mark->longitude), local.north_m(mark->latitude),
                        mark->course_deg};
    const auto same = [](const std::optional<Vessel> &a, const std::optional<Vessel> &b) {
        return bool(a) == bool(b)
            && (!a
                || (a->east == b->east && a->north == b->north
                    && (a->course_deg == b->course_deg
                        || (std::isnan(a->course_deg) && std::isnan(b->course_deg)))));
    };
    changed = changed || !same(vessel, layer->vessel);
    layer->vessel = vessel;
    if (changed)
        update_speed_range();
    return changed;
}

// The scale spans the good readings only: a wild flagged one would squeeze
// every other colour together.
void MapView::update_speed_range()
{
    double low = INFINITY, high = -INFINITY;
    for (const Dot &dot : drawn) {
        if (!dot.flagged && std::isfinite(dot.speed)) {
            low = std::min(low, double(dot.speed));
            high = std::max(high, double(dot.speed));
        }
    }
    QCPRange speeds = low <= high ? QCPRange(low, high) : QCPRange(1500.0, 1500.0);
    if (speeds.size() < 0.01)
        speeds = QCPRange(speeds.center() - 0.005, speeds.center() + 0.005);
    layer->speeds = speeds;
    scale->setDataRange(speeds);
}

void MapView::follow_track()
{
    follow = true;
    fit();
    replot();
}

// Called after each layout, when the axis rectangle has its size: one metre
// is as long north as east.
void MapView::keep_one_scale()
{
    if (follow)
        fit();
    else
        yAxis->setScaleRatio(xAxis, 1.0);
}

void MapView::fit()
{
    bool found_east = false, found_north = false;
    QCPRange east = layer->getKeyRange(found_east, QCP::sdBoth);
    QCPRange north = layer->getValueRange(found_north, QCP::sdBoth, QCPRange());
    if (!found_east || !found_north)
        east = north = QCPRange(-100, 100);
    const QRect rect = axisRect()->rect();
    const double per_pixel = std::max({east.size() / std::max(1, rect.width()),
                                       north.size() / std::max(1, rect.height()), 0.05})
        * 1.1; // some room around
    xAxis->setRange(east.center(), per_pixel * rect.width(), Qt::AlignCenter);
    yAxis->setRange(north.center(), per_pixel * rect.height(), Qt::AlignCenter);
}

void MapView::taken_by_hand()
{
    if (follow) {
        follow = false;
        emit moved_by_hand();
    }
}

void MapView::mousePressEvent(QMouseEvent *event)
{
    taken_by_hand();
    QCustomPlot::mousePressEvent(event);
}

void MapView::wheelEvent(QWheelEvent *event)
{
    taken_by_hand();
    QCustomPlot::wheelEvent(event);
}

void MapView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QCustomPlot::mouseDoubleClickEvent(event);
    follow_track();
}
