#include "mappanel.h"

#include "mapview.h"
#include "tabstyle.h"
#include "trackmodel.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

static const char export_caption[] = QT_TRANSLATE_NOOP("MapPanel", "导出航迹");
static const char export_filters[] = "GeoJSON (*.geojson);;KML (*.kml);;GPX (*.gpx)";

MapPanel::MapPanel(const TrackModel *model, Points exported, const QString &title, QWidget *parent)
    : QWidget(parent), model(model), exported(std::move(exported)), title(title), map(new MapView),
      about(new QLabel), said(new QLabel)
{
    setStyleSheet(compact_buttons());
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);
    grid->addWidget(map, 0, 0, 1, 4);
    about->setObjectName("map_about");
    about->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(about, 1, 0);
    said->setObjectName("map_said");
    grid->addWidget(said, 1, 1);
    auto *whole = new QPushButton(tr("全部航迹"));
    whole->setToolTip(tr("缩放到整个航迹并随船位移动（也可双击地图）"));
    auto *save = new QPushButton(tr(export_caption));
    save->setToolTip(tr("把航迹的读数导出为 GeoJSON、KML 或 GPX 文件"));
    grid->addWidget(whole, 1, 2);
    grid->addWidget(save, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    connect(whole, &QPushButton::clicked, map, &MapView::follow_track);
    connect(save, &QPushButton::clicked, this, &MapPanel::choose_export);
    // Fixes come up to ten times a second; a few looks a second keep up.
    sync_timer.setInterval(250);
    connect(&sync_timer, &QTimer::timeout, this, &MapPanel::refresh);
}

void MapPanel::refresh()
{
    if (!map->sync(*model) && !about->text().isEmpty())
        return;
    const auto &vessel = model->vessel();
    about->setText(vessel ? tr("带位置的读数 %1；船位 %2, %3")
                                .arg(model->size())
                                .arg(track_export::coordinate_text(vessel->latitude),
                                     track_export::coordinate_text(vessel->longitude))
                          : tr("带位置的读数 %1").arg(model->size()));
    if (map->following())
        map->follow_track();
    else
        map->replot();
}

bool MapPanel::export_track(const QString &path, track_export::Format format, QString *error) const
{
    return track_export::write_file(path, format, exported(), title, error);
}

void MapPanel::choose_export()
{
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, tr(export_caption), QString(), export_filters,
                                                &filter);
    if (path.isEmpty())
        return;
    track_export::Format format = track_export::Format::geojson;
    if (!track_export::format_from_name(QFileInfo(path).suffix().toLower(), &format)) {
        // No known suffix: the filter chosen says which, and gives it.
        const QString name = filter.section(QLatin1Char('.'), 1).chopped(1);
        track_export::format_from_name(name, &format);
        path += QLatin1Char('.') + QLatin1String(track_export::format_name(format));
    }
    QString error;
    const bool written = export_track(path, format, &error);
    said->setText(written ? tr("已导出：%1").arg(QFileInfo(path).fileName()) : error);
    said->setToolTip(written ? path : QString());
    said->setStyleSheet(written ? QString() : QStringLiteral("color: #d00000;"));
}

void MapPanel::showEvent(QShowEvent *event)
{
    refresh();
    sync_timer.start();
    QWidget::showEvent(event);
}

void MapPanel::hideEvent(QHideEvent *event)
{
    sync_timer.stop();
    QWidget::hideEvent(event);
}
