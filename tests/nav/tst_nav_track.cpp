#include "trackexport.h"
#include "trackmodel.h"

#include <QtTest>

static const qint64 t0 = 1767225600123; // 2026-01-01T00:00:00.123Z

static QVector<TrackPoint> sample_track()
{
    return {{t0, 89.9999983, -179.9999900, 1480.125, 4.5, Quality::ok},
            {t0 + 100, -0.0000001, 179.9999999, 1501.5, NAN, Quality::range},
            {t0 + 86400000, 12.3456789, 0.0, 1520.0, -1.25, Quality::spike}};
}

// What a reader of each format gets back: time, latitude, longitude, quality.
using Read = QVector<std::tuple<QString, QString, QString, QString>>;

static Read read_geojson(const QByteArray &bytes)
{
    Read read;
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    if (root.value("type") != "FeatureCollection")
        return read;
    for (const QJsonValue &feature : root.value("features").toArray()) {
        const QJsonArray at = feature["geometry"]["coordinates"].toArray();
        const QJsonObject p = feature["properties"].toObject();
        if (feature["geometry"]["type"] == "Point" && p.contains("speed_m_s")
            && p.contains("temperature_c"))
            read.append({p["time"].toString(), QString::number(at[1].toDouble(), 'f', 7),
                         QString::number(at[0].toDouble(), 'f', 7), p["quality"].toString()});
    }
    return read;
}

// Elements of an XML document as "namespace|path" in document order, and
// the points read: a GPX trkpt or a KML Placemark.
static Read read_xml(const QByteArray &bytes, QStringList *paths)
{
    Read read;
    QXmlStreamReader xml(bytes);
    QStringList path;
    QString time, lat, lon, quality, data_name;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (path.last() == "trkpt" || path.last() == "Placemark")
                read.append({time, lat, lon, quality});
            path.removeLast();
        } else if (token == QXmlStreamReader::Characters && !xml.isWhitespace()) {
            const QString text = xml.text().toString(), name = path.last();
            if (name == "time" || name == "when")
                time = text;
            else if (name == "quality" || (name == "value" && data_name == "quality"))
                quality = text;
            else if (name == "coordinates")
                lon = text.section(',', 0, 0), lat = text.section(',', 1, 1);
        } else if (token == QXmlStreamReader::StartElement) {
            path.append(xml.name().toString());
            paths->append(xml.namespaceUri() + '|' + path.join('/'));
            if (path.last() == "trkpt") {
                lat = xml.attributes().value("lat").toString();
                lon = xml.attributes().value("lon").toString();
            }
            if (path.last() == "Data")
                data_name = xml.attributes().value("name").toString();
        }
    }
    return xml.hasError() ? Read() : read;
}

class tst_NavTrack : public QObject
{
    Q_OBJECT

private slots:
    void exports_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("required"); // element paths, in document order
        const QString gpx = "http://www.topografix.com/GPX/1/1|gpx";
        const QString kml = "http://www.opengis.net/kml/2.2|kml/Document";
        QTest::newRow("geojson") << "geojson" << QStringList();
        QTest::newRow("gpx") << "gpx"
                             << QStringList{gpx,
                                            gpx + "/metadata",
                                            gpx + "/trk",
                                            gpx + "/trk/trkseg/trkpt",
                                            gpx + "/trk/trkseg/trkpt/time",
                                            "urn:svterminal:gpx:1|gpx/trk/trkseg/trkpt/extensions/"
                                            "sound_speed_m_s"};
        QTest::newRow("kml") << "kml"
                             << QStringList{kml,
                                            kml + "/description",
                                            kml + "/Style",
                                            kml + "/Folder/Placemark/TimeStamp/when",
                                            kml + "/Folder/Placemark/styleUrl",
                                            kml + "/Folder/Placemark/Point/coordinates"};
    }

    // Coordinates, times and qualities come back as written, whatever the
    // locale; the structure has what readers need, in order; an empty
    // track is refused with a reason.
    void exports()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, required);
        QLocale::setDefault(QLocale(QLocale::German));
        const auto write = [&format](const QVector<TrackPoint> &points, QString *error) {
            return format == "gpx" ? track_export::gpx(points, "测线 1", error)
                : format == "kml"  ? track_export::kml(points, "测线 1", error)
                                   : track_export::geojson(points, error);
        };
        QString error;
        const QByteArray bytes = write(sample_track(), &error);
        QLocale::setDefault(QLocale::c());
        QStringList paths;
        const Read read = format == "geojson" ? read_geojson(bytes) : read_xml(bytes, &paths);
        const Read expected{{"2026-01-01T00:00:00.123Z", "89.9999983", "-179.9999900", "ok"},
                            {"2026-01-01T00:00:00.223Z", "-0.0000001", "179.9999999", "range"},
                            {"2026-01-02T00:00:00.123Z", "12.3456789", "0.0000000", "spike"}};
        QCOMPARE(read, expected);
        QVERIFY(error.isEmpty() && !bytes.contains("1480,125"));
        int at = 0;
        for (const QString &path : required) {
            at = paths.indexOf(path, at);
            QVERIFY2(at >= 0, qPrintable(path));
        }
        QVERIFY(write({}, &error).isEmpty() && !error.isEmpty());
    }

    // The ring keeps the newest points, oldest first; a clear starts afresh
    // with a new origin.
    void model_keeps_the_newest()
    {
        TrackModel model(3);
        for (int i = 0; i < 5; ++i)
            model.add({t0 + i, 10.0 + i, 20.0, 1500.0, NAN, Quality::ok});
        QCOMPARE(model.size(), 3);
        QCOMPARE(model.sequence(), 5);
        QCOMPARE(model.at(0).latitude, 12.0);
        QCOMPARE(model.points().last().latitude, 14.0);
        QCOMPARE(model.projection().origin_latitude, 10.0);
        model.clear();
        model.add({t0, -5.0, 1.0, 1500.0, NAN, Quality::ok});
        QCOMPARE(model.size(), 1);
        QCOMPARE(model.at(0).latitude, -5.0);
        QCOMPARE(model.projection().origin_latitude, -5.0);
    }

    void projection_data()
    {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<double>("east_m");
        QTest::addColumn<double>("north_m");
        // From an origin at 60 N, 179.99 E: a minute of latitude is about a
        // nautical mile; a degree of longitude there is half that at the equator.
        QTest::newRow("a minute north") << 60.0 + 1.0 / 60 << 179.99 << 0.0 << 1853.25;
        QTest::newRow("across the date line") << 60.0 << -179.99 << 1111.95 << 0.0;
        QTest::newRow("west") << 60.0 << 179.98 << -555.97 << 0.0;
    }

    void projection()
    {
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(double, east_m);
        QFETCH(double, north_m);
        const LocalProjection local{60.0, 179.99};
        QVERIFY(qAbs(local.east_m(longitude) - east_m) < 0.01);
        QVERIFY(qAbs(local.north_m(latitude) - north_m) < 0.01);
    }
};

QTEST_GUILESS_MAIN(tst_NavTrack)

#include "tst_nav_track.moc"
