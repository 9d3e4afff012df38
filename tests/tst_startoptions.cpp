// The command line of an unattended start.

#include "startoptions.h"

#include <QtTest>

class TestStartOptions : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("good");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("baud"); // 0: not given
        QTest::addColumn<bool>("open");
        QTest::addColumn<QStringList>("outputs"); // as written back
        QTest::newRow("nothing") << QStringList{} << true << "" << 0 << false << QStringList{};
        QTest::newRow("unattended")
            << QStringList{"--port",   "/dev/ttyUSB0",       "--baud=19200",          "--open",
                           "--output", "udp:127.0.0.1:5602", "--output=tcp:4001:json"}
            << true << "/dev/ttyUSB0" << 19200 << true
            << QStringList{"udp:127.0.0.1:5602:sv2", "tcp:4001:json"};
        QTest::newRow("unknown option")
            << QStringList{"--opne"} << false << "" << 0 << false << QStringList{};
        QTest::newRow("value missing")
            << QStringList{"--port"} << false << "" << 0 << false << QStringList{};
        QTest::newRow("bad baud") << QStringList{"--baud", "fast"} << false << "" << 0 << false
                                  << QStringList{};
        QTest::newRow("bad output") << QStringList{"--output", "udp:host:70000"} << false << "" << 0
                                    << false << QStringList{};
        for (const char *bad : {"--defaults --profile=ship", "--report=a.csv", "--station=boat",
                                "--mqtt=broker", "--mqtt=broker:0 --station=boat",
                                "--nav=serial:", "--nav=udp:70000", "--export-track=a.csv",
                                "--kml=a.kml", "--export-track=a.csv --kml=a.kml --gpx=b.gpx"})
            QTest::newRow(bad) << QString(bad).split(' ') << false << "" << 0 << false
                               << QStringList{};
        QTest::newRow("nine outputs") << QString("--output=tcp:4001")
                                             .repeated(9)
                                             .split("--", Qt::SkipEmptyParts)
                                             .replaceInStrings(QRegularExpression("^"), "--")
                                      << false << "" << 0 << false << QStringList{};
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, good);
        StartOptions options;
        QString error;
        QCOMPARE(StartOptions::parse(arguments, &options, &error), good);
        QCOMPARE(error.isEmpty(), good);
        if (!good)
            return;
        QFETCH(QString, port);
        QFETCH(int, baud);
        QFETCH(bool, open);
        QFETCH(QStringList, outputs);
        QCOMPARE(options.port, port);
        QCOMPARE(options.baud.value_or(0), baud);
        QCOMPARE(options.open, open);
        QStringList written;
        for (const OutputConfig &output : options.outputs)
            written << output.to_text();
        QCOMPARE(written, outputs);
    }

    void the_rest()
    {
        StartOptions options;
        QString error;
        QVERIFY2(StartOptions::parse({"--profile", "RV Ocean", "--record=/data/sv", "--mqtt",
                                      "127.0.0.1:1884", "--station=boat1", "--mqtt-ca=/etc/ca.pem"},
                                     &options, &error),
                 qPrintable(error));
        QCOMPARE(options.profile, QString("RV Ocean"));
        QCOMPARE(options.record_dir, QString("/data/sv"));
        QVERIFY(options.mqtt && options.mqtt_config.tls);
        QCOMPARE(options.mqtt_config.port, quint16(1884));
        QCOMPARE(options.mqtt_config.topic("reading"), QString("sv/boat1/reading"));
        QVERIFY(StartOptions::parse({"--report=night.csv", "--pdf=night.pdf"}, &options, &error));
        QCOMPARE(options.report_pdf, QString("night.pdf"));
        QVERIFY(StartOptions::parse({"--input-format", "pssv"}, &options, &error));
        QVERIFY(options.input_format == InputFormat::fixed(FormatId::pssv));
        QVERIFY(!StartOptions::parse({"--input-format=nmea"}, &options, &error));
        QVERIFY(StartOptions::parse({"--nav", "serial:/dev/ttyUSB1:38400"}, &options, &error));
        QCOMPARE(options.nav->text(), QString("serial:/dev/ttyUSB1:38400"));
        QVERIFY(StartOptions::parse({"--export-track=a.csv", "--gpx", "a.gpx"}, &options, &error));
        QCOMPARE(options.track_format + ' ' + options.track_out, QString("gpx a.gpx"));
    }
};

QTEST_GUILESS_MAIN(TestStartOptions)
#include "tst_startoptions.moc"
