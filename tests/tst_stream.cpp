// The stream from the instrument: chunks in, readings out, and the block
// average, without a port or a window.

#include "blockaverage.h"
#include "measurementstream.h"

#include <QtTest>

class TestStream : public QObject
{
    Q_OBJECT

private slots:
    void automatic_reads_dollar_as_before_data() { framing_data(); }
    void framing_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("speeds"); // of the valid readings, in order
        QTest::addColumn<QStringList>("temperatures"); // "-" for none
        QTest::addColumn<int>("malformed");

        const QByteArray overlong = "$ " + QByteArray(5000, '1');
        QTest::newRow("whole") << QByteArrayList{"$ 1500.000 15.000\r\n"} << QStringList{"1500.000"}
                               << QStringList{"15.000"} << 0;
        QTest::newRow("split anywhere, NUL dropped")
            << QByteArrayList{"noise $ 15",
                              QByteArray("00.0\0"
                                         "00 1",
                                         9),
                              "5.500\r", "\n$ 1"}
            << QStringList{"1500.000"} << QStringList{"15.500"} << 0;
        QTest::newRow("no blank after $")
            << QByteArrayList{"$1503.000 15.000\r\n$-1.5\r\n"} << QStringList{"1503.000", "-1.5"}
            << QStringList{"15.000", "-"} << 0;
        QTest::newRow("any other character after $ skipped")
            << QByteArrayList{"$_1504.000 15.000\r\n"} << QStringList{"1504.000"}
            << QStringList{"15.000"} << 0;
        QTest::newRow("cut-off line, speed only after it")
            << QByteArrayList{"$ 15", "$ 1501.000\r\n"} << QStringList{"1501.000"}
            << QStringList{"-"} << 0;
        QTest::newRow("CR-only line end") << QByteArrayList{"$ 1500.000 1.0\r$ 1502.000 2.0\r\n"}
                                          << QStringList{"1502.000"} << QStringList{"2.0"} << 0;
        QTest::newRow("LF-only line end") << QByteArrayList{"$ 1500.000 1.0\n$ 1502.000 2.0\r\n"}
                                          << QStringList{"1502.000"} << QStringList{"2.0"} << 0;
        QTest::newRow("overlong partial line")
            << QByteArrayList{overlong, "$ 1505.000 3.0\r\n"} << QStringList{"1505.000"}
            << QStringList{"3.0"} << 0;
        QTest::newRow("overlong line dropped")
            << QByteArrayList{overlong, "\r\n$ 1506.000 4.0\r\n"} << QStringList{"1506.000"}
            << QStringList{"4.0"} << 0;
        QTest::newRow("not numbers") << QByteArrayList{"$ hello 15.0\r\n$ nan\r\n$ inf 1.0\r\n$  "
                                                       "15.0\r\n$ 1500.0 x\r\n$ 1e\r\n"}
                                     << QStringList{} << QStringList{} << 6;
        QTest::newRow("broken UTF-8 between digits, cut between chunks")
            << QByteArrayList{"$ 15\xe0",
                              "\x99"
                              "00.000 15.0\r\n"}
            << QStringList{} << QStringList{} << 1;
        QTest::newRow("digits' look-alikes beyond ASCII") << QByteArrayList{"$ 15\xc4\xb1"
                                                                            "0.000 1\xc4\xb0.5\r\n"}
                                                          << QStringList{} << QStringList{} << 1;
        QTest::newRow("three fields, doubled blank")
            << QByteArrayList{"$ 1500.000 15.000 35.000\r\n$ 1500.000  15.000\r\n"} << QStringList{}
            << QStringList{} << 2;
    }

    void framing()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QStringList, speeds);
        QFETCH(QStringList, temperatures);
        QFETCH(int, malformed);

        MeasurementStream stream;
        QStringList got_speeds, got_temperatures;
        for (const QByteArray &chunk : chunks) {
            for (const Reading &reading : stream.feed(chunk)) {
                if (!reading.valid)
                    continue;
                QVERIFY(qIsFinite(reading.speed));
                QCOMPARE(reading.speed, reading.speed_text.toDouble());
                got_speeds << reading.speed_text.trimmed();
                got_temperatures << (reading.has_temperature ? reading.temperature_text.trimmed()
                                                             : "-");
            }
        }
        QCOMPARE(got_speeds, speeds);
        QCOMPARE(got_temperatures, temperatures);
        QCOMPARE(stream.malformed_count(), qint64(malformed));
        QVERIFY(stream.pending().size() < MeasurementStream::max_line);
    }

    // "15.5°" with the degree sign's bytes in different chunks, all echoed or
    // only the last (an exchange that begins after the character did).
    void utf8_split_between_chunks_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<int>("first_echoed");
        QTest::addColumn<QString>("echo");
        QTest::addColumn<QString>("line");
        const QString degrees = QString::fromUtf8("$ 1500.0 15.5°\r\n");
        const QByteArrayList two{"$ 1500.0 15.5\xc2", "\xb0\r\n"};
        QTest::newRow("all echoed") << two << 0 << degrees << degrees;
        QTest::newRow("last echoed") << two << 1 << QString::fromUtf8("°\r\n") << degrees;
        QTest::newRow("three chunks, last echoed")
            << QByteArrayList{"$ 1500.0 15.5\xe2", "\x82", "\xac\r\n"} << 2
            << QString::fromUtf8("€\r\n") << QString::fromUtf8("$ 1500.0 15.5€\r\n");
    }

    void utf8_split_between_chunks()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(int, first_echoed);
        QFETCH(QString, echo);
        QFETCH(QString, line);
        MeasurementStream stream;
        QString echoed;
        QVector<Reading> readings;
        for (int i = 0; i < chunks.size(); ++i) {
            QString text;
            readings += stream.feed(chunks.at(i), i >= first_echoed ? &text : nullptr);
            echoed += text;
        }
        QCOMPARE(echoed, echo);
        QCOMPARE(readings.size(), 1);
        QCOMPARE(readings.at(0).line, line);
        QVERIFY(!readings.at(0).valid);
    }

    void complete_character_echoed_at_once_data()
    {
        QTest::addColumn<QString>("chunk");
        QTest::newRow("two bytes") << QString::fromUtf8("$ 1500.0 15.5°");
        QTest::newRow("three bytes") << QString::fromUtf8("€");
        QTest::newRow("four bytes") << QString::fromUtf8("ok 😀");
    }

    // Nothing of it waits for the next chunk.
    void complete_character_echoed_at_once()
    {
        QFETCH(QString, chunk);
        MeasurementStream stream;
        QString text;
        stream.feed(chunk.toUtf8(), &text);
        QCOMPARE(text, chunk);
    }

    // Recognising the format takes the dollar instrument's lines as reading
    // dollar alone does: lines before the first dollar line are only shown.
    void automatic_reads_dollar_as_before()
    {
        QFETCH(QByteArrayList, chunks);
        MeasurementStream dollar, automatic;
        automatic.set_input_format(InputFormat());
        QStringList expected, got;
        for (const QByteArray &chunk : chunks) {
            for (const Reading &reading : dollar.feed(chunk))
                expected << reading.line + (reading.valid ? "" : " x");
            for (const Reading &reading : automatic.feed(chunk)) {
                if (reading.recognised)
                    got << reading.line + (reading.valid ? "" : " x");
            }
        }
        QCOMPARE(got, expected);
        QCOMPARE(automatic.malformed_count(), dollar.malformed_count());
        QCOMPARE(automatic.format(), std::optional<FormatId>(FormatId::dollar));
    }

    void average_data()
    {
        QTest::addColumn<uint>("points");
        QTest::addColumn<QStringList>("speeds");
        QTest::addColumn<QStringList>("shown");

        QTest::newRow("one point follows every speed as received")
            << 1u << QStringList{"1500.10\r\n", "1499"} << QStringList{"1500.10\r\n", "1499"};
        QTest::newRow("blocks of three")
            << 3u << QStringList{"1500", "1501", "1502.5", "1400", "1400"}
            << QStringList{"1501.167"};
        QTest::newRow("huge values stay finite")
            << 2u << QStringList{"1e308", "1e308"} << QStringList{"1e+308"};
    }

    void average()
    {
        QFETCH(uint, points);
        QFETCH(QStringList, speeds);
        QFETCH(QStringList, shown);

        BlockAverage average;
        average.restart(points);
        QStringList got;
        for (const QString &speed : speeds) {
            QString text;
            if (average.add(speed.toDouble(), speed, &text))
                got << text;
        }
        QCOMPARE(got, shown);
    }
};

QTEST_GUILESS_MAIN(TestStream)
#include "tst_stream.moc"
