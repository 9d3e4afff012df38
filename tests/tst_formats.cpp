// The probes' formats through the stream: each format's lines, automatic
// recognition, and what a reconnection drops.
#include "measurementstream.h"

#include <QtTest>

// A valid reading in one line: its speed and temperature texts, then what
// else it carries.
static QString describe(const Reading &r)
{
    QString text = r.speed_text;
    if (r.has_temperature)
        text += ' ' + r.temperature_text;
    const double extras[] = {r.pressure_dbar, r.depth_m, r.conductivity, r.salinity, r.density};
    const char *names[] = {"p", "d", "c", "s", "rho"};
    for (int i = 0; i < 5; ++i) {
        if (!qIsNaN(extras[i]))
            text += QString(" %1=%2").arg(names[i]).arg(extras[i]);
    }
    return text;
}

// How a line came out: "?" not yet recognised, else its format's name, "="
// before it when the format was decided with it, " x" when not a reading.
static QString outcome(const Reading &r)
{
    if (!r.recognised)
        return "?";
    return (r.format_decided ? "=" : "") + QString(format_name(r.format)) + (r.valid ? "" : " x");
}

static QVector<Reading> feed_all(MeasurementStream &stream, const QByteArrayList &chunks)
{
    QVector<Reading> readings;
    for (const QByteArray &chunk : chunks) {
        if (chunk == "<reset>")
            stream.reset();
        else
            readings += stream.feed(chunk);
    }
    return readings;
}

class tst_Formats : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("ignore_checksums");
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<int>("malformed");
        QTest::addColumn<int>("checksums");

        QTest::newRow("sv: samples, blanks and tabs, any line end")
            << "sv" << false << QByteArray("1500.1\r 1500.123\r\n\t 1500.12 \n\n")
            << QStringList{"1500.1", "1500.123", "1500.12"} << 0 << 0;
        QTest::newRow("sv: signs, decimals, zeros; extra field, mm/s, letters, exponent")
            << "sv" << false
            << QByteArray("+1500.5\r\n-0.5\r\n1500.123456\r\n0000.000\r\n1500.1 15.2\r\n1505340\r\n"
                          "15OO.1\r\n1.5e3\r\n.\r\n")
            << QStringList{"+1500.5", "-0.5", "1500.123456", "0000.000"} << 5 << 0;
        QTest::newRow("sv_mm: shifted exactly, zeros; six or eight digits, signs, points")
            << "sv_mm" << false
            << QByteArray("1505340\r\n 0000000 \r\n0150000\n150534\r\n15053400\r\n+150534\r\n"
                          "1505.34\r\n")
            << QStringList{"1505.340", "0000.000", "0150.000"} << 4 << 0;
        QTest::newRow("p_t_sv: sample, tabs, out of water, signs; missing and extra field")
            << "p_t_sv" << false
            << QByteArray("10.351 21.488 1506.739\r\n10.351\t21.488 \t1506.7391\r\n"
                          "0.000 21.488 0000.000\r\n-0.120 -1.500 1440.000\r\n10.351 21.488\r\n"
                          "10.351 21.488 1506.739 35.0\r\n")
            << QStringList{"1506.739 21.488 p=10.351", "1506.7391 21.488 p=10.351",
                           "0000.000 21.488 p=0", "1440.000 -1.500 p=-0.12"}
            << 2 << 0;
        QTest::newRow("tagged: sample, any order and subset, feet, dbar; no speed, bad units")
            << "tagged" << false
            << QByteArray("1483.576 M/SEC 0010.122 M 0021.291 C 0000.142 MS/CM\r\n"
                          "0021.291\tC\t1483.576\tm/sec\t33.0\tF\r\n1483.576 M/SEC 10.5 DBAR\r\n"
                          "0021.291 C\r\n1483.576 M/SEC 5 X\r\n1483.576 M/SEC 0010.122\r\n"
                          "1483.576 M/SEC 1483.577 M/SEC\r\n1483.576M/SEC\r\n")
            << QStringList{"1483.576 0021.291 d=10.122 c=0.142", "1483.576 0021.291 d=10.0584",
                           "1483.576 p=10.5"}
            << 5 << 0;
        const QByteArray psgds = "$PSGDS,ADSVP,0009.919,1505.340,21.972,1130.56*1E\r\n"
                                 "$PSGDS,ADSVP,0000.000,0000.000,21.972,1130.56*10\r\n"
                                 "$PSGDS,ADSVP,0009.919,1505.340,21.972,1130.56*1F\r\n"
                                 "$PSGDS,ADSVP,-0.120,1505.340,-1.500*1C\r\n"
                                 "$PSGDS,ADSVP,0009.919,1505.340,21.972,1130.56,7*05\r\n"
                                 "$PSGDS,ADSVP,0009.919,1505.340,21.972,1130.56\r\n";
        const QString sample = "1505.340 21.972 p=9.919 rho=1130.56";
        QTest::newRow("psgds: sample, idle; wrong checksum, missing and extra field, no checksum")
            << "psgds" << false << psgds << QStringList{sample, "0000.000 21.972 p=0 rho=1130.56"}
            << 3 << 1;
        QTest::newRow("psgds: checksums ignored")
            << "psgds" << true << psgds
            << QStringList{sample, "0000.000 21.972 p=0 rho=1130.56", sample} << 3 << 0;
        const QByteArray pssv = "$PSSV, 1503.0, 1.5,M*54\r\n$PSSV, 1503.0, 10.0,F*6a\r\n"
                                "$PSSV,0000.0,0.0,M*57\r\n$PSSV, 1503.0, 1.5,M*55\r\n"
                                "$PSSV, 1503.0, 1.5,X*41\r\n$PSSV, 1503.0, 1.5*35\r\n"
                                "x$PSSV, 1503.0, 1.5,M*54\r\n";
        QTest::newRow("pssv: sample, feet, idle; wrong checksum, bad unit, no unit, leading junk")
            << "pssv" << false << pssv
            << QStringList{"1503.0 d=1.5", "1503.0 d=3.048", "0000.0 d=0"} << 3 << 1;
        QTest::newRow("pssv: checksums ignored")
            << "pssv" << true << pssv
            << QStringList{"1503.0 d=1.5", "1503.0 d=3.048", "0000.0 d=0", "1503.0 d=1.5"} << 3
            << 0;
        QTest::newRow("t_c_s_sv: sample, blanks, idle; missing and extra field")
            << "t_c_s_sv" << false
            << QByteArray(
                   "24.0440,05.12200,0035.1230, 1459.111\r\n24.0440 , 05.12200,0035.1230,1459.1\n"
                   "24.0440,05.12200,0035.1230, 0000.000\r\n24.0440,05.12200, 1459.111\r\n"
                   "24.0440,05.12200,0035.1230, 1459.111,1\r\n")
            << QStringList{"1459.111 24.0440 c=5.122 s=35.123", "1459.1 24.0440 c=5.122 s=35.123",
                           "0000.000 24.0440 c=5.122 s=35.123"}
            << 2 << 0;
    }

    // Every way of cutting the stream into chunks gives the same readings.
    void read()
    {
        QFETCH(QString, format);
        QFETCH(bool, ignore_checksums);
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, readings);
        QFETCH(int, malformed);
        QFETCH(int, checksums);
        InputFormat input;
        QVERIFY(InputFormat::from_name(format.toStdString(), &input));
        for (int size : {int(stream.size()), 1, 7}) {
            MeasurementStream s;
            s.set_input_format(input);
            s.set_ignore_checksums(ignore_checksums);
            QStringList got;
            for (int pos = 0; pos < stream.size(); pos += size) {
                for (const Reading &r : s.feed(stream.mid(pos, size))) {
                    QCOMPARE(r.format, input.format);
                    QVERIFY(!r.valid || (r.speed == r.speed_text.toDouble() && r.shown()));
                    QVERIFY(!r.has_temperature || r.temperature == r.temperature_text.toDouble());
                    if (r.valid)
                        got << describe(r);
                }
            }
            QCOMPARE(got, readings);
            QCOMPARE(s.malformed_count(), qint64(malformed));
            QCOMPARE(s.checksum_count(), qint64(checksums));
        }
    }

    // The line as received with its own line end, and as the pane shows it.
    void raw_lines_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArrayList>("raws");
        QTest::addColumn<QStringList>("panes");
        QTest::newRow("dollar: from its $, as before in the pane")
            << "dollar" << QByteArrayList{"x$1503.000 15.000\r\n"}
            << QByteArrayList{"$1503.000 15.000\r\n"} << QStringList{"$ 1503.000 15.000\r\n"};
        QTest::newRow("sv_mm: as sent, any line end")
            << "sv_mm" << QByteArrayList{"1505340\r", "1505341\n", "1505342\r\n"}
            << QByteArrayList{"1505340\r", "1505341\n", "1505342\r\n"}
            << QStringList{"1505340\r\n", "1505341\r\n", "1505342\r\n"};
        QTest::newRow("CR LF split after its CR: waits once CR LF is known")
            << "sv" << QByteArrayList{"1500.1\r", "\n1500.2\r", "\n1500.3\n"}
            << QByteArrayList{"1500.1\r", "1500.2\r\n", "1500.3\n"}
            << QStringList{"1500.1\r\n", "1500.2\r\n", "1500.3\r\n"};
        QTest::newRow("a reconnection drops the line it cut")
            << "p_t_sv"
            << QByteArrayList{"10.351 21.488 1506.739\r\n10.35", "<reset>", "1 21.4 1506.7\r\n"}
            << QByteArrayList{"10.351 21.488 1506.739\r\n", "1 21.4 1506.7\r\n"}
            << QStringList{"10.351 21.488 1506.739\r\n", "1 21.4 1506.7\r\n"};
    }

    void raw_lines()
    {
        QFETCH(QString, format);
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArrayList, raws);
        QFETCH(QStringList, panes);
        InputFormat input;
        QVERIFY(InputFormat::from_name(format.toStdString(), &input));
        MeasurementStream stream;
        stream.set_input_format(input);
        QByteArrayList got_raws;
        QStringList got_panes;
        for (const Reading &r : feed_all(stream, chunks)) {
            got_raws << r.raw;
            got_panes << r.line;
        }
        QCOMPARE(got_raws, raws);
        QCOMPARE(got_panes, panes);
    }

    void recognition_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("outcomes");
        QTest::addColumn<QString>("format"); // decided at the end, "-" for none

        const QByteArray sv3 = " 1500.1\r\n 1500.2\r\n 1500.3\r\n";
        const QStringList sv_decided{"?", "?", "=sv"};
        QTest::newRow("three in a row; the third is the first reading")
            << QByteArrayList{sv3 + " 1500.4\r\n"} << sv_decided + QStringList{"sv"} << "sv";
        QTest::newRow("a line that does not match breaks the streak")
            << QByteArrayList{"1500.1\n1500.2\nxx\n1500.3\n1500.4\n"}
            << QStringList{"?", "?", "?", "?", "?"} << "-";
        QTest::newRow("a single number below 100000 is sv, zeros too")
            << QByteArrayList{"0000000\r0000000\r0000000\r1505340\r"}
            << QStringList{"?", "?", "=sv", "sv x"} << "sv";
        QTest::newRow("seven digits from 100 m/s are sv_mm")
            << QByteArrayList{"0150000\n1505340\n1505341\n0000000\n"}
            << QStringList{"?", "?", "=sv_mm", "sv_mm"} << "sv_mm";
        QTest::newRow("dollar at once, from the first line, after junk")
            << QByteArrayList{"noise 12\r\n$ 1500", ".000 15.000\r\n"}
            << QStringList{"?", "=dollar"} << "dollar";
        QTest::newRow("dollar when its LF comes in the next chunk")
            << QByteArrayList{"$ 1500.000 15.000\r", "\n"} << QStringList{"=dollar"} << "dollar";
        QTest::newRow("decided: another format's line is malformed, a dollar line switches back")
            << QByteArrayList{sv3 + "10.3 21.4 1506.7\n$ 1500.000\r\n1500.5\r\n"}
            << sv_decided + QStringList{"sv x", "=dollar"} << "dollar";
        QTest::newRow("sentences are no dollar lines")
            << QByteArrayList{"$PSSV, 1503.0, 1.5,M*54\r\n$PSSV, 1503.0, 1.5,M*54\r\n"
                              "$PSSV, 1503.0, 1.5,M*54\r\n"}
            << QStringList{"?", "?", "=pssv"} << "pssv";
        QTest::newRow("a wrong checksum shows the format")
            << QByteArrayList{"$PSSV, 1503.0, 1.5,M*55\r\n$PSSV, 1503.0, 1.5,M*55\r\n"
                              "$PSSV, 1503.0, 1.5,M*55\r\n"}
            << QStringList{"?", "?", "=pssv x"} << "pssv";
        QTest::newRow("a reconnection drops the decision")
            << QByteArrayList{sv3, "<reset>", "1 2 3\n4 5 6\n7 8 9\n"}
            << sv_decided + QStringList{"?", "?", "=p_t_sv"} << "p_t_sv";
        QTest::newRow("a reconnection drops the streaks and the cut line")
            << QByteArrayList{" 1500.1\r\n 1500.2\r\n 15", "<reset>", "00.3\r\n 1500.4\r\n"}
            << QStringList{"?", "?", "?", "?"} << "-";
    }

    void recognition()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QStringList, outcomes);
        QFETCH(QString, format);
        MeasurementStream stream;
        stream.set_input_format(InputFormat());
        QStringList got;
        for (const Reading &r : feed_all(stream, chunks))
            got << outcome(r);
        QCOMPARE(got, outcomes);
        QCOMPARE(stream.format() ? format_name(*stream.format()) : "-", format);
        QCOMPARE(stream.unrecognised_count(), qint64(outcomes.filter("?").size()));
    }
};

QTEST_GUILESS_MAIN(tst_Formats)
#include "tst_formats.moc"
