#include "trackexport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QSaveFile>

namespace track_export {

QString time_text(qint64 utc_ms)
{
    return QLocale::c().toString(QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::UTC),
                                 QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QString coordinate_text(double degrees)
{
    return number_text(degrees, 7);
}

QString number_text(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString no_positions_error()
{
    return QCoreApplication::translate("TrackExport", "日志中没有带位置的读数，无法导出航迹");
}

static QByteArray json_number(double value, int decimals)
{
    return std::isfinite(value) ? number_text(value, decimals).toLatin1() : QByteArray("null");
}

QByteArray geojson(const QVector<TrackPoint> &points, QString *error)
{
    if (points.isEmpty()) {
        *error = no_positions_error();
        return {};
    }
    QByteArray out = "{\"type\":\"FeatureCollection\",\"features\":[\n";
    for (int i = 0; i < points.size(); ++i) {
        const TrackPoint &p = points.at(i);
        out += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":["
            + coordinate_text(p.longitude).toLatin1() + ',' + coordinate_text(p.latitude).toLatin1()
            + "]},\"properties\":{\"time\":\"" + time_text(p.utc_ms).toLatin1()
            + "\",\"speed_m_s\":" + json_number(p.speed_m_s, 3)
            + ",\"temperature_c\":" + json_number(p.temperature_c, 3) + ",\"quality\":\""
            + quality_name(p.quality) + "\"}}" + (i + 1 < points.size() ? ",\n" : "\n");
    }
    out += "]}\n";
    return out;
}

static const char *const format_names[] = {"geojson", "kml", "gpx"};

const char *format_name(Format format)
{
    return format_names[int(format)];
}

bool format_from_name(const QString &name, Format *format)
{
    for (int i = 0; i < 3; ++i) {
        if (name == QLatin1String(format_names[i])) {
            *format = Format(i);
            return true;
        }
    }
    return false;
}

bool write_file(const QString &path, Format format, const QVector<TrackPoint> &points,
                const QString &title, QString *error)
{
    const QByteArray document = format == Format::geojson ? geojson(points, error)
        : format == Format::kml                           ? kml(points, title, error)
                                                          : gpx(points, title, error);
    if (document.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size()
        || !file.commit()) {
        *error = QCoreApplication::translate("TrackExport", "无法写入 %1：%2")
                     .arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace track_export
