#ifndef TRACKEXPORT_H
#define TRACKEXPORT_H

#include "trackpoint.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The positioned readings of a log as a track for GIS and chart software.
// Numbers are always in the C locale, coordinates with 7 decimals, times in
// ISO 8601 UTC with milliseconds. Each returns the whole document, or an
// empty array with *error set: a log without positions gives no track.
namespace track_export {

// A GeoJSON FeatureCollection of Points, [longitude, latitude], with the
// properties time, speed_m_s, temperature_c (null if none) and quality.
QByteArray geojson(const QVector<TrackPoint> &points, QString *error);

// A KML 2.2 Document with one Folder holding a Placemark per reading, with
// its TimeStamp, coloured by sound speed over the track's own range; the
// Document's description tells the colours' speeds.
QByteArray kml(const QVector<TrackPoint> &points, const QString &title, QString *error);

// A GPX 1.1 document with one track segment; each point's sound speed,
// temperature and quality are extensions in the namespace gpx_namespace.
QByteArray gpx(const QVector<TrackPoint> &points, const QString &title, QString *error);

extern const char gpx_namespace[];

enum class Format : quint8 { geojson, kml, gpx };
// "geojson", "kml", "gpx", as the command line and the file names have them.
const char *format_name(Format format);
bool format_from_name(const QString &name, Format *format);
// Writes the document in format to path, replacing it only once complete;
// false with *error saying why (no positions, or the file).
bool write_file(const QString &path, Format format, const QVector<TrackPoint> &points,
                const QString &title, QString *error);

// The shared forms.
QString time_text(qint64 utc_ms); // "2024-05-01T12:00:00.123Z"
QString coordinate_text(double degrees); // 7 decimals
QString number_text(double value, int decimals); // C locale
QString no_positions_error();

} // namespace track_export

#endif
