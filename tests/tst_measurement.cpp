#include "measurement.h"

#include <QtTest>

// Explicit cases of each rule; tst_corpus replays the fuzzing corpus for
// whole-versus-split equivalence and the buffer bound on many streams.
class tst_Measurement : public QObject
{
    Q_OBJECT

private slots:
    void framing_data();
    void framing();
    void fields_data();
    void fields();
    void decoding_data();
    void decoding();
    void averaging_data();
    void averaging();
};

void tst_Measurement::framing_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("rest");

    QTest::newRow("one line") << QStringList{"$ 1500.123 20.456\r\n"}
                              << QStringList{"1500.123 20.456\r\n"} << "";
    QTest::newRow("character after marker skipped")
        << QStringList{"$X1500.1 20.5\r\n$1500.1\r\n"}
        << QStringList{"1500.1 20.5\r\n", "500.1\r\n"} << "";
    QTest::newRow("marker then line end") << QStringList{"$\r\n"} << QStringList{"\n"} << "";
    QTest::newRow("text before marker dropped")
        << QStringList{"junk\r\nmore\r\n$ 1 2\r\n"} << QStringList{"1 2\r\n"} << "";
    QTest::newRow("line end before marker ends nothing")
        << QStringList{"\r\n$ 1"} << QStringList{} << "$ 1";
    QTest::newRow("second marker and lone return inside")
        << QStringList{"$ 1$2\r3\r\n"} << QStringList{"1$2\r3\r\n"} << "";
    QTest::newRow("split across appends") << QStringList{"$ 15", "00.1 2", "0.5\r", "\n$ 1"}
                                          << QStringList{"1500.1 20.5\r\n"} << "$ 1";
    QTest::newRow("every line of one append")
        << QStringList{"$ 1 2\r\n$ 3 4\r\n$ 5\r\n$ 6"} << QStringList{"1 2\r\n", "3 4\r\n", "5\r\n"}
        << "$ 6";
    QTest::newRow("no marker") << QStringList{"abc\r\n", QString(5000, 'x')} << QStringList{} << "";

    // From "$" to "\r\n" inclusive, max_line characters still make a line.
    const QString longest = "$ " + QString(LineFramer::max_line - 4, '7') + "\r\n";
    QTest::newRow("longest kept, one longer dropped")
        << QStringList{longest + "$ " + QString(LineFramer::max_line - 3, '8') + "\r\n$ 1\r\n"}
        << QStringList{longest.mid(2), "1\r\n"} << "";
    QTest::newRow("overlong partial line dropped up to its end, next found")
        << QStringList{"$ " + QString(3000, 'x'), QString(3000, 'y'), "$ 9 9" + QString(3000, 'z'),
                       "tail\r\n$ 1500.1 20.5\r\n$"}
        << QStringList{"1500.1 20.5\r\n"} << "$";
    QTest::newRow("overlong line with its return ending a piece")
        << QStringList{"$ " + QString(5000, 'c') + "\r", "\n$ 5\r\n"} << QStringList{"5\r\n"} << "";
}

void tst_Measurement::framing()
{
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, lines);
    QFETCH(QString, rest);

    LineFramer framer;
    QString buffer;
    QStringList taken;
    for (const QString &piece : pieces) {
        framer.append(buffer, piece);
        QString line;
        while (framer.take_line(buffer, &line))
            taken << line;
        QVERIFY2(buffer.size() <= LineFramer::max_line, qPrintable(QString::number(buffer.size())));
    }
    QCOMPARE(taken, lines);
    QCOMPARE(buffer, rest);
}

void tst_Measurement::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("speed and temperature") << "1500.1 20.5\r\n"
                                           << QStringList{"1500.1", "20.5\r\n"};
    QTest::newRow("speed only") << "1500.1\r\n" << QStringList{"1500.1\r\n"};
    QTest::newRow("empty parts kept") << " 1500.1  20.5 \r\n"
                                      << QStringList{"", "1500.1", "", "20.5", "\r\n"};
    QTest::newRow("tab is no separator") << "1500.1\t20.5\r\n" << QStringList{"1500.1\t20.5\r\n"};
}

void tst_Measurement::fields()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(split_fields(line), fields);
}

void tst_Measurement::decoding_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QString>("text");

    const QString bad(QChar::ReplacementCharacter);
    QTest::newRow("NULs dropped, the rest kept")
        << QByteArrayList{QByteArray("$ 1\0\0 2\r\n\0$ 3\r\n", 15), QByteArray(3, '\0')}
        << "$ 1 2\r\n$ 3\r\n";
    QTest::newRow("character split across chunks")
        << QByteArrayList{"$ \xE5", "\xA3", "\xB0 \xF0\x9F", "\x98\x80\r\n"}
        << QString("$ 声 😀\r\n");
    QTest::newRow("malformed bytes") << QByteArrayList{"a\xFF\x80", "\xC3(\xF4\x90\x80\x80"}
                                     << "a" + bad + bad + bad + "(" + bad;
}

void tst_Measurement::decoding()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QString, text);

    ChunkDecoder decoder;
    QString decoded;
    for (const QByteArray &chunk : chunks)
        decoded += decoder.decode(chunk);
    QCOMPARE(decoded, text);
}

void tst_Measurement::averaging_data()
{
    QTest::addColumn<uint>("points");
    QTest::addColumn<QStringList>("speeds");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("mean of a block")
        << 5u << QStringList{"1500.1", "1500.2", "1500.3", "1500.4", "1500.5"}
        << QStringList{"1500.3"};
    QTest::newRow("blocks start again")
        << 2u << QStringList{"1000", "1000", "2000", "2004", "9"} << QStringList{"1000", "2002"};
    QTest::newRow("seven significant digits")
        << 2u << QStringList{"1234.5678", "1234.5678", "12345678", "12345678"}
        << QStringList{"1234.568", "1.234568e+07"};
    QTest::newRow("blanks and line ends ignored")
        << 3u << QStringList{"1500.5\r\n", "  1500.5 ", "\t1500.5\n"} << QStringList{"1500.5"};
    QTest::newRow("one point shows every speed as received")
        << 1u << QStringList{"1500.123", "abc", "\n"} << QStringList{"1500.123", "abc", "\n"};
    QTest::newRow("no points") << 0u << QStringList{"1499.9\r\n"} << QStringList{"1499.9\r\n"};

    // One garbled line must not pull the mean down by adding 0.
    const QStringList garbled = {"abc", "1500.1x", "", "\r\n", "\n", "nan", "inf", "1500,1"};
    for (const QString &bad : garbled) {
        QTest::addRow("\"%s\" not averaged", qPrintable(bad.toUtf8().toPercentEncoding()))
            << 5u << QStringList{"1000", "1000", bad, "1000", "1000", "1500"}
            << QStringList{"1100"};
    }
}

void tst_Measurement::averaging()
{
    QFETCH(uint, points);
    QFETCH(QStringList, speeds);
    QFETCH(QStringList, shown);

    double sum = 0.0;
    unsigned int count = 0;
    QStringList displays;
    for (const QString &speed : speeds) {
        QString display;
        if (average_step(sum, count, points, speed, &display))
            displays << display;
    }
    QCOMPARE(displays, shown);
}

QTEST_APPLESS_MAIN(tst_Measurement)
#include "tst_measurement.moc"
