#ifndef MAPPANEL_H
#define MAPPANEL_H

#include "trackexport.h"
#include "trackpoint.h"

#include <QTimer>
#include <QWidget>

#include <functional>

class MapView;
class QLabel;
class TrackModel;

// The map of a track with what goes with it: how many positioned readings
// it holds and the vessel's position, a button that fits the whole track
// again (after the operator zoomed or dragged), and the export of the track
// as GeoJSON, KML or GPX. While shown it keeps up with its model.
class MapPanel : public QWidget
{
    Q_OBJECT

public:
    using Points = std::function<QVector<TrackPoint>()>;

    // exported: the readings the export writes (the whole track, or the
    // span a review shows); title: the documents' name.
    MapPanel(const TrackModel *model, Points exported, const QString &title,
             QWidget *parent = nullptr);

    MapView *view() const { return map; }
    // Brings the map up to its model now.
    void refresh();
    // Writes the exported readings to path; false with *error saying why.
    bool export_track(const QString &path, track_export::Format format, QString *error) const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void choose_export();

    const TrackModel *model;
    Points exported;
    QString title;
    MapView *map;
    QLabel *about, *said;
    QTimer sync_timer;
};

#endif
