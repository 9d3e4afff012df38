#ifndef MAPVIEW_H
#define MAPVIEW_H

#include "mapview_layer.h"

#include <qcustomplot.h>

#include <deque>

class TrackModel;

// The track on a plain map, north up, east and north in metres around the
// track's first point with one scale on both axes: each reading a dot
// coloured by its sound speed on the scale at the right, flagged readings
// ringed in red, the vessel's newest position with its course over ground,
// and a scale bar. No map tiles. It follows the whole track as it grows
// until the operator drags or zooms (wheel and drag, as on the trend plot);
// a double click follows again.
//
// Like the trend plot it keeps in step with its model by projecting only the
// readings that are new, and draws the dots into one image, so a redraw of
// two hours at ten readings a second stays well within a frame.
class MapView : public QCustomPlot
{
    Q_OBJECT

public:
    explicit MapView(QWidget *parent = nullptr);

    // Brings the drawing up to the model's readings and vessel; true if they
    // changed. The caller replots.
    bool sync(const TrackModel &model);

    bool following() const { return follow; }
    // Fits the whole track and the vessel, and follows them from now on.
    void follow_track();

    QSize sizeHint() const override { return QSize(640, 480); }

    const std::deque<MapDot> &dots() const { return drawn; }
    QCPColorScale *colour_scale() const { return scale; }

signals:
    // The operator dragged or zoomed: the view stays where it was put.
    void moved_by_hand();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void style();
    void keep_one_scale();
    void fit();
    void update_speed_range();
    void taken_by_hand();

    MapTrackLayer *layer;
    QCPColorScale *scale;
    std::deque<MapDot> drawn;
    qint64 synced = 0; // the model's sequence the dots reflect
    int seen_clears = 0;
    bool follow = true;
};

#endif
