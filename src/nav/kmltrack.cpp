#include "trackexport.h"

#include <QCoreApplication>
#include <QXmlStreamWriter>

#include <algorithm>

namespace track_export {

// Slow to fast: blue, cyan, green, yellow, orange, red; KML writes colours
// as aabbggrr.
static const char *const colours[]
    = {"ffff0000", "ffffff00", "ff00ff00", "ff00ffff", "ff0080ff", "ff0000ff"};
static const char *const colour_names[]
    = {QT_TRANSLATE_NOOP("TrackExport", "蓝"), QT_TRANSLATE_NOOP("TrackExport", "青"),
       QT_TRANSLATE_NOOP("TrackExport", "绿"), QT_TRANSLATE_NOOP("TrackExport", "黄"),
       QT_TRANSLATE_NOOP("TrackExport", "橙"), QT_TRANSLATE_NOOP("TrackExport", "红")};
static const int bins = int(sizeof colours / sizeof colours[0]);

namespace {

struct SpeedScale
{
    double low = 0.0, high = 0.0;

    int bin(double speed) const
    {
        if (!(high > low) || !std::isfinite(speed))
            return 0;
        return std::clamp(int((speed - low) / (high - low) * bins), 0, bins - 1);
    }
    double bin_low(int bin) const { return low + (high - low) * bin / bins; }
};

} // namespace

static SpeedScale scale_of(const QVector<TrackPoint> &points)
{
    SpeedScale scale{INFINITY, -INFINITY};
    for (const TrackPoint &p : points) {
        if (std::isfinite(p.speed_m_s)) {
            scale.low = std::min(scale.low, p.speed_m_s);
            scale.high = std::max(scale.high, p.speed_m_s);
        }
    }
    return std::isfinite(scale.low) ? scale : SpeedScale{};
}

static QString scale_description(const SpeedScale &scale)
{
    QString text = QCoreApplication::translate("TrackExport", "各点按声速着色（m/s），%1 至 %2：")
                       .arg(number_text(scale.low, 3), number_text(scale.high, 3));
    for (int bin = 0; bin < bins; ++bin) {
        text += QLatin1Char('\n')
            + QCoreApplication::translate("TrackExport", "%1：%2 起")
                  .arg(QCoreApplication::translate("TrackExport", colour_names[bin]),
                       number_text(scale.bin_low(bin), 3));
    }
    return text;
}

static void write_styles(QXmlStreamWriter &xml)
{
    for (int bin = 0; bin < bins; ++bin) {
        xml.writeStartElement("Style");
        xml.writeAttribute("id", QStringLiteral("speed%1").arg(bin));
        xml.writeStartElement("IconStyle");
        xml.writeTextElement("color", colours[bin]);
        xml.writeTextElement("scale", "0.5");
        xml.writeStartElement("Icon");
        xml.writeTextElement("href", "http://maps.google.com/mapfiles/kml/shapes/shaded_dot.png");
        xml.writeEndElement(); // Icon
        xml.writeEndElement(); // IconStyle
        xml.writeEndElement(); // Style
    }
}

static void write_data(QXmlStreamWriter &xml, const char *name, const QString &value)
{
    xml.writeStartElement("Data");
    xml.writeAttribute("name", name);
    xml.writeTextElement("value", value);
    xml.writeEndElement();
}

static void write_placemark(QXmlStreamWriter &xml, const TrackPoint &p, const SpeedScale &scale)
{
    xml.writeStartElement("Placemark");
    xml.writeStartElement("TimeStamp");
    xml.writeTextElement("when", time_text(p.utc_ms));
    xml.writeEndElement();
    xml.writeTextElement("styleUrl", QStringLiteral("#speed%1").arg(scale.bin(p.speed_m_s)));
    xml.writeStartElement("ExtendedData");
    write_data(xml, "speed_m_s", number_text(p.speed_m_s, 3));
    if (std::isfinite(p.temperature_c))
        write_data(xml, "temperature_c", number_text(p.temperature_c, 3));
    write_data(xml, "quality", quality_name(p.quality));
    xml.writeEndElement(); // ExtendedData
    xml.writeStartElement("Point");
    xml.writeTextElement("coordinates",
                         coordinate_text(p.longitude) + ',' + coordinate_text(p.latitude));
    xml.writeEndElement(); // Point
    xml.writeEndElement(); // Placemark
}

QByteArray kml(const QVector<TrackPoint> &points, const QString &title, QString *error)
{
    if (points.isEmpty()) {
        *error = no_positions_error();
        return {};
    }
    const SpeedScale scale = scale_of(points);
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDefaultNamespace("http://www.opengis.net/kml/2.2");
    xml.writeStartElement("kml");
    xml.writeStartElement("Document");
    xml.writeTextElement("name", title);
    xml.writeTextElement("description", scale_description(scale));
    write_styles(xml);
    xml.writeStartElement("Folder");
    xml.writeTextElement("name", title);
    for (const TrackPoint &p : points)
        write_placemark(xml, p, scale);
    xml.writeEndDocument();
    return out;
}

} // namespace track_export
