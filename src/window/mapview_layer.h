#ifndef MAPVIEW_LAYER_H
#define MAPVIEW_LAYER_H

#include <qcustomplot.h>

#include <deque>
#include <optional>

// One reading as the map draws it: metres east and north of the model's origin.
struct MapDot
{
    float east, north, speed;
    bool flagged;
};

struct MapVessel
{
    double east, north, course_deg;
};

// Draws what the map holds: the dots as one image, the flags, the vessel,
// the scale bar and the north mark.
class MapTrackLayer : public QCPAbstractPlottable
{
public:
    static const QColor flagged_colour, vessel_colour;

    MapTrackLayer(QCPAxis *key, QCPAxis *value, const std::deque<MapDot> &dots)
        : QCPAbstractPlottable(key, value), dots(dots)
    {
    }

    QCPRange speeds{0.0, 1.0};
    std::optional<MapVessel> vessel;
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

    const std::deque<MapDot> &dots;
};

#endif
