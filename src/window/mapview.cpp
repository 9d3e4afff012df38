#include "mapview.h"

#include "mapview_layer.h"
#include "trackmodel.h"

#include <algorithm>
#include <cmath>
#include <optional>

static const char east_axis_name[] = QT_TRANSLATE_NOOP("MapView", "东向 (m)");
static const char north_axis_name[] = QT_TRANSLATE_NOOP("MapView", "北向 (m)");
static const char speed_scale_name[] = QT_TRANSLATE_NOOP("MapView", "声速 (m/s)");
static const char flagged_name[] = QT_TRANSLATE_NOOP("MapView", "标记读数");
static const char vessel_name[] = QT_TRANSLATE_NOOP("MapView", "船位与航向");
MapView::MapView(QWidget *parent) : QCustomPlot(parent)
{
    layer = new MapTrackLayer(xAxis, yAxis, drawn);
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
    xAxis->setLabel(tr(east_axis_name));
    yAxis->setLabel(tr(north_axis_name));
    for (QCPAxis *axis : {xAxis, yAxis, scale->axis()}) {
        axis->setTickLabelFont(small);
        axis->setLabelFont(small);
    }
    QCPColorGradient gradient(QCPColorGradient::gpJet);
    gradient.setLevelCount(256);
    for (int i = 0; i < 256; ++i)
        layer->colours.append(gradient.color(i, QCPRange(0, 255)));
    scale->setGradient(gradient);
    scale->setLabel(tr(speed_scale_name));
    scale->setBarWidth(10);
    plotLayout()->addElement(0, 1, scale);
    // The legend's entries stand for marks the layer draws.
    QCPGraph *flags = addGraph();
    flags->setName(tr(flagged_name));
    flags->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssSquare, MapTrackLayer::flagged_colour, 7));
    QCPGraph *vessel = addGraph();
    vessel->setName(tr(vessel_name));
    vessel->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssTriangle,
                                            MapTrackLayer::vessel_colour,
                                            MapTrackLayer::vessel_colour, 9));
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
    std::optional<MapVessel> vessel;
    if (const auto &mark = model.vessel())
        vessel = MapVessel{local.east_m(mark->longitude), local.north_m(mark->latitude),
                           mark->course_deg};
    const auto same = [](const std::optional<MapVessel> &a, const std::optional<MapVessel> &b) {
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
    for (const MapDot &dot : drawn) {
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
