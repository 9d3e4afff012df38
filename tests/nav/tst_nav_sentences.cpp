#include "navdecoder.h"
#include "navsource.h"
#include "nmeasentence.h"

#include <QtTest>

// A sentence with its checksum and CR LF, from its body.
static QByteArray line(const QByteArray &body)
{
    return NmeaSentence::framed(body) + "\r\n";
}

// Which counter a line lands in, by name, for data rows.
static qint64 counter(const NmeaCounts &c, const QString &name)
{
    const QMap<QString, qint64> all{{"used", c.used},          {"checksum", c.checksum},
                                    {"void", c.void_fix},      {"bad", c.bad_fields},
                                    {"other", c.other},        {"overlong", c.overlong},
                                    {"fragments", c.fragments}};
    return all.value(name, -1);
}

static qint64 sum(const NmeaCounts &c)
{
    return c.used + c.checksum + c.void_fix + c.bad_fields + c.other + c.overlong + c.fragments;
}

class tst_NavSentences : public QObject
{
    Q_OBJECT

private slots:
    void coordinates_data()
    {
        QTest::addColumn<bool>("longitude");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("hemisphere");
        QTest::addColumn<QString>("expected"); // empty: refused
        const auto row = [](const char *name, bool longitude, const char *value,
                            const char *hemisphere, const char *expected) {
            QTest::newRow(name) << longitude << QByteArray(value) << QByteArray(hemisphere)
                                << QString(expected);
        };
        row("north", false, "4807.038", "N", "48.1173000");
        row("south", false, "3330.5", "S", "-33.5083333");
        row("east", true, "01131.000", "E", "11.5166667");
        row("west", true, "07400.6", "W", "-74.0100000");
        row("date line east", true, "17959.9994", "E", "179.9999900");
        row("date line west", true, "17959.9994", "W", "-179.9999900");
        row("180 west", true, "18000.0000", "W", "-180.0000000");
        row("near north pole", false, "8959.9999", "N", "89.9999983");
        row("south pole", false, "9000.00", "S", "-90.0000000");
        row("minutes carry a degree", false, "1259.99999999", "N", "13.0000000");
        row("many decimals", true, "00000.1234567890123", "E", "0.0020576");
        row("half rounds up", false, "0000.000003", "N", "0.0000001");
        row("half rounds away south", false, "0000.000003", "S", "-0.0000001");
        row("just under half", false, "0000.0000029", "S", "0.0000000");
        row("no decimals", false, "1230", "N", "12.5000000");
        row("60 minutes", false, "1260.0", "N", "");
        row("beyond the pole", false, "9000.01", "N", "");
        row("beyond 180", true, "18000.01", "E", "");
        row("degrees too long", false, "12345.0", "N", "");
        row("empty", false, "", "N", "");
        row("no hemisphere", false, "1230.0", "", "");
        row("wrong hemisphere", false, "1230.0", "E", "");
        row("letters", false, "12a0.0", "N", "");
        row("bare point", false, "1230.", "N", "");
    }

    // The text is exact and the double is the one nearest to it.
    void coordinates()
    {
        QFETCH(bool, longitude);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, hemisphere);
        QFETCH(QString, expected);
        const auto c
            = longitude ? nmea_longitude(value, hemisphere) : nmea_latitude(value, hemisphere);
        QCOMPARE(c ? c->text : QString(), expected);
        if (c)
            QCOMPARE(c->degrees, expected.toDouble());
    }

    void sentences_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("counted"); // the counter it lands in
        QTest::addColumn<QString>("fix"); // "lat lon quality", empty if none
        QTest::addColumn<qint64>("utc_ms"); // -1 if none
        QTest::addColumn<double>("speed"); // NaN if none
        const double none = NAN;
        const QByteArray gga = "GGA,123519.00,4807.038,N,01131.000,E,";
        QTest::newRow("GGA GP") << line("GP" + gga + "1,08,0.9,545.4,M,46.9,M,,") << "used"
                                << "48.1173000 11.5166667 1" << qint64(-1) << none;
        for (const char *talker : {"GN", "GL", "GA", "GB", "BD", "GQ"})
            QTest::newRow(QByteArray("GGA ") + talker)
                << line(talker + gga + "4,12,0.6,5.0,M,,M,,") << "used"
                << "48.1173000 11.5166667 4" << qint64(-1) << none;
        QTest::newRow("lower-case checksum") // its checksum is 6A
            << line("GP" + gga + "2,08,0.9,545.4,M,46.9,M,,").replace("*6A", "*6a") << "used"
            << "48.1173000 11.5166667 2" << qint64(-1) << none;
        QTest::newRow("RMC") << line(
            "GPRMC,123519,A,4807.038,N,01131.000,W,022.4,084.4,230394,003.1,W")
                             << "used"
                             << "48.1173000 -11.5166667 1" << qint64(764426119000)
                             << 22.4 * 1852 / 3600;
        QTest::newRow("RMC RTK mode")
            << line("GNRMC,000000.50,A,0000.000,S,00000.000,E,0.0,,010120,,,R") << "used"
            << "0.0000000 0.0000000 4" << qint64(1577836800500) << 0.0;
        QTest::newRow("ZDA") << line("GPZDA,201530.00,04,07,2002,00,00") << "used"
                             << "" << qint64(1025813730000) << none;
        QTest::newRow("GNS") << line(
            "GNGNS,014035.00,4332.69262,S,17235.48549,E,RR,13,0.9,25.63,11.24,,")
                             << "used"
                             << "-43.5448770 172.5914248 4" << qint64(-1) << none;
        QTest::newRow("GNS mixed modes")
            << line("GNGNS,014035.00,4332.69262,N,17235.48549,W,NA,13,0.9,25.63,11.24,,") << "used"
            << "43.5448770 -172.5914248 1" << qint64(-1) << none;
        QTest::newRow("VTG") << line("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A") << "used"
                             << "" << qint64(-1) << 5.5 * 1852 / 3600;
        QTest::newRow("wrong checksum")
            << QByteArray("$GPZDA,201530.00,04,07,2002,00,00*61\r\n") << "checksum"
            << "" << qint64(-1) << none;
        QTest::newRow("no checksum")
            << QByteArray("$GPZDA,201530.00,04,07,2002,00,00\r\n") << "checksum"
            << "" << qint64(-1) << none;
        QTest::newRow("text after checksum")
            << line("GPZDA,201530.00,04,07,2002,00,00").insert(36, "x") << "checksum"
            << "" << qint64(-1) << none;
        QTest::newRow("GGA quality 0") << line("GPGGA,123519,,,,,0,00,99.9,,M,,M,,") << "void"
                                       << "" << qint64(-1) << none;
        QTest::newRow("RMC void") << line("GPRMC,123519,V,4807.038,N,01131.000,E,0.0,0.0,230394,,")
                                  << "void"
                                  << "" << qint64(-1) << none;
        QTest::newRow("RMC mode N")
            << line("GPRMC,123519,A,4807.038,N,01131.000,E,0.0,0.0,230394,,,N") << "void"
            << "" << qint64(-1) << none;
        QTest::newRow("GNS all N")
            << line("GNGNS,014035.00,4332.69,S,17235.48,E,NN,00,,,,,") << "void"
            << "" << qint64(-1) << none;
        QTest::newRow("VTG mode N") << line("GPVTG,,T,,M,,N,,K,N") << "void"
                                    << "" << qint64(-1) << none;
        QTest::newRow("GGA empty position") << line("GPGGA,123519,,,,,1,08,0.9,,M,,M,,") << "bad"
                                            << "" << qint64(-1) << none;
        QTest::newRow("GGA empty quality") << line("GP" + gga + ",08,0.9,545.4,M,46.9,M,,") << "bad"
                                           << "" << qint64(-1) << none;
        QTest::newRow("RMC no status")
            << line("GPRMC,123519,,4807.038,N,01131.000,E,,,230394,,") << "bad"
            << "" << qint64(-1) << none;
        QTest::newRow("ZDA empty") << line("GPZDA,,,,,,") << "bad"
                                   << "" << qint64(-1) << none;
        QTest::newRow("ZDA no such day") << line("GPZDA,201530.00,30,02,2024,00,00") << "bad"
                                         << "" << qint64(-1) << none;
        QTest::newRow("bad time") << line("GP" + QByteArray(gga).replace("123519.00", "126019.00")
                                          + "1,08,,,,,,,")
                                  << "bad"
                                  << "" << qint64(-1) << none;
        QTest::newRow("GSV") << line(
            "GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00")
                             << "other"
                             << "" << qint64(-1) << none;
        QTest::newRow("AIS") << "!" + line("AIVDM,1,1,,B,177KQJ5000G?tO`K>RA1wUbN0TKH,0").mid(1)
                             << "other"
                             << "" << qint64(-1) << none;
        QTest::newRow("proprietary") << line("PGRME,15.0,M,45.0,M,25.0,M") << "other"
                                     << "" << qint64(-1) << none;
        QTest::newRow("LF only") << line("GPZDA,201530.00,04,07,2002,00,00").replace("\r", "")
                                 << "used"
                                 << "" << qint64(1025813730000) << none;
        QTest::newRow("CR only") << line("GPZDA,201530.00,04,07,2002,00,00").replace("\n", "")
                                 << "used"
                                 << "" << qint64(1025813730000) << none;
        QTest::newRow("junk before")
            << "\x01junk" + line("GPZDA,201530.00,04,07,2002,00,00") << "used"
            << "" << qint64(1025813730000) << none;
        QTest::newRow("tail of a cut sentence")
            << QByteArray("0,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n") << "fragments"
            << "" << qint64(-1) << none;
        QTest::newRow("overlong") << line("GP" + gga + QByteArray(100, '0')) << "overlong"
                                  << "" << qint64(-1) << none;
    }

    // Each line lands in exactly one counter, and only used ones say anything.
    void sentences()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, counted);
        QFETCH(QString, fix);
        QFETCH(qint64, utc_ms);
        QFETCH(double, speed);
        NavDecoder decoder;
        const NavDecoder::Batch batch = decoder.feed(bytes, 1000);
        QCOMPARE(counter(decoder.counts(), counted), 1);
        QCOMPARE(sum(decoder.counts()), 1);
        const auto tag = decoder.state().tag(1000);
        QCOMPARE(tag ? QStringLiteral("%1 %2 %3")
                           .arg(tag->latitude.text, tag->longitude.text)
                           .arg(tag->quality)
                     : QString(),
                 fix);
        QCOMPARE(batch.offsets_ms.value(0, -1), utc_ms < 0 ? -1 : 1000 - utc_ms);
        const auto course = decoder.state().course_speed();
        QVERIFY(std::isnan(speed) ? !course : qAbs(course->speed_m_s - speed) < 1e-9);
    }

    // A sentence cut by a reconnection is dropped, its tail too, and the next
    // one is read; a datagram's sentences are all read, the last without its
    // line end, and a sentence cut between datagrams is not joined.
    void cut_sentences()
    {
        const QByteArray zda = line("GPZDA,201530.00,04,07,2002,00,00");
        NavDecoder serial;
        serial.feed(zda.left(20), 0);
        serial.cut();
        QCOMPARE(serial.feed(zda.mid(20) + zda, 0).offsets_ms.size(), 1);
        QCOMPARE(serial.counts().fragments, 2);
        QCOMPARE(serial.counts().used, 1);

        NavDecoder udp;
        QCOMPARE(udp.feed_datagram(zda + zda + zda.chopped(2), 0).offsets_ms.size(), 3);
        QCOMPARE(udp.feed_datagram(zda.left(20), 0).offsets_ms.size(), 0);
        QCOMPARE(udp.feed_datagram(zda.mid(20), 0).offsets_ms.size(), 0);
        QCOMPARE(udp.counts().checksum + udp.counts().fragments, 2);
    }

    void sources_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed"); // text() of the result; empty: an error
        QTest::newRow("serial default rate") << "serial:/dev/ttyUSB0"
                                             << "serial:/dev/ttyUSB0:4800";
        QTest::newRow("serial with rate") << "serial:COM3:38400"
                                          << "serial:COM3:38400";
        QTest::newRow("odd rate") << "serial:/dev/ttyS0:4801"
                                  << "";
        QTest::newRow("empty rate") << "serial:/dev/ttyS0:"
                                    << "";
        QTest::newRow("no path") << "serial::4800"
                                 << "";
        QTest::newRow("udp") << "udp:10110"
                             << "udp:10110";
        QTest::newRow("udp port 0") << "udp:0"
                                    << "";
        QTest::newRow("udp too high") << "udp:65536"
                                      << "";
        QTest::newRow("udp not a number") << "udp:gps"
                                          << "";
        QTest::newRow("unknown kind") << "tcp:10110"
                                      << "";
        QTest::newRow("no kind") << "/dev/ttyUSB0"
                                 << "";
    }

    void sources()
    {
        QFETCH(QString, text);
        QFETCH(QString, parsed);
        QString error;
        const auto source = NavSource::parse(text, &error);
        QCOMPARE(source ? source->text() : QString(), parsed);
        QCOMPARE(error.isEmpty(), !parsed.isEmpty());
        if (source)
            QVERIFY(NavSource::parse(source->text(), &error) == source);
    }
};

QTEST_GUILESS_MAIN(tst_NavSentences)

#include "tst_nav_sentences.moc"
