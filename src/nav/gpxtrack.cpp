#include "trackexport.h"

#include <QXmlStreamWriter>

namespace track_export {

const char gpx_namespace[] = "urn:svterminal:gpx:1";
static const char gpx_1_1[] = "http://www.topografix.com/GPX/1/1";
static const char schema_instance[] = "http://www.w3.org/2001/XMLSchema-instance";

static void write_point(QXmlStreamWriter &xml, const TrackPoint &p)
{
    xml.writeStartElement(gpx_1_1, "trkpt");
    xml.writeAttribute("lat", coordinate_text(p.latitude));
    xml.writeAttribute("lon", coordinate_text(p.longitude));
    xml.writeTextElement(gpx_1_1, "time", time_text(p.utc_ms));
    xml.writeStartElement(gpx_1_1, "extensions");
    if (std::isfinite(p.speed_m_s))
        xml.writeTextElement(gpx_namespace, "sound_speed_m_s", number_text(p.speed_m_s, 3));
    if (std::isfinite(p.temperature_c))
        xml.writeTextElement(gpx_namespace, "temperature_c", number_text(p.temperature_c, 3));
    xml.writeTextElement(gpx_namespace, "quality", quality_name(p.quality));
    xml.writeEndElement(); // extensions
    xml.writeEndElement(); // trkpt
}

QByteArray gpx(const QVector<TrackPoint> &points, const QString &title, QString *error)
{
    if (points.isEmpty()) {
        *error = no_positions_error();
        return {};
    }
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(gpx_1_1);
    xml.writeNamespace(schema_instance, "xsi");
    xml.writeNamespace(gpx_namespace, "svt");
    xml.writeStartElement(gpx_1_1, "gpx");
    xml.writeAttribute("version", "1.1");
    xml.writeAttribute("creator", "svterminal");
    xml.writeAttribute(schema_instance, "schemaLocation",
                       QStringLiteral("%1 %1/gpx.xsd").arg(gpx_1_1));
    xml.writeStartElement(gpx_1_1, "metadata");
    xml.writeTextElement(gpx_1_1, "name", title);
    xml.writeTextElement(gpx_1_1, "time", time_text(points.first().utc_ms));
    xml.writeEndElement(); // metadata
    xml.writeStartElement(gpx_1_1, "trk");
    xml.writeTextElement(gpx_1_1, "name", title);
    xml.writeStartElement(gpx_1_1, "trkseg");
    for (const TrackPoint &p : points)
        write_point(xml, p);
    xml.writeEndDocument();
    return out;
}

} // namespace track_export
