#include "measurement.h"

#include <QRandomGenerator>
#include <QtTest>

// Runs pieces of text through a framer as the reader does: append each piece,
// then take every complete line.
static QStringList frame_pieces(const QStringList &pieces, QString *rest = nullptr)
{
    LineFramer framer;
    QString buffer;
    QStringList lines;
    for (const QString &piece : pieces) {
        framer.append(buffer, piece);
        QString line;
        while (framer.take_line(buffer, &line))
            lines << line;
    }
    if (rest)
        *rest = buffer;
    return lines;
}

static QStringList frame_split(const QString &text, int at)
{
    return frame_pieces({text.left(at), text.mid(at)});
}

static QStringList frame_by_character(const QString &text)
{
    QStringList pieces;
    for (const QChar c : text)
        pieces << QString(c);
    return frame_pieces(pieces);
}

static QString overlong(QChar fill, int size)
{
    return QString(size, fill);
}

class tst_Measurement : public QObject
{
    Q_OBJECT

private slots:
    void framing_data();
    void framing();
    void fields_data();
    void fields();

    void decoder_drops_nul();
    void decoder_matches_whole_utf8();
    void decoder_malformed_data();
    void decoder_malformed();
    void decoder_split_data();
    void decoder_split();

    void bound_text_without_marker();
    void bound_overlong_partial_line();
    void bound_line_length_limit();
    void bound_after_every_take();
    void bound_well_formed_stream();
    void bound_split_data();
    void bound_split();

    void average_block_data();
    void average_block();
    void average_restarts();
    void average_single_point();
    void average_rejects_non_numbers_data();
    void average_rejects_non_numbers();
    void average_ignores_blanks_data();
    void average_ignores_blanks();
};

void tst_Measurement::framing_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("rest");

    QTest::newRow("one line") << QStringList{"$ 1500.123 20.456\r\n"}
                              << QStringList{"1500.123 20.456\r\n"} << "";
    QTest::newRow("skipped character not a blank")
        << QStringList{"$X1500.1 20.5\r\n"} << QStringList{"1500.1 20.5\r\n"} << "";
    QTest::newRow("speed right after marker loses its first digit")
        << QStringList{"$1500.1\r\n"} << QStringList{"500.1\r\n"} << "";
    QTest::newRow("marker then line end") << QStringList{"$\r\n"} << QStringList{"\n"} << "";
    QTest::newRow("text and line ends before marker")
        << QStringList{"junk\r\nmore\r\n$ 1 2\r\n"} << QStringList{"1 2\r\n"} << "";
    QTest::newRow("line end before marker does not end it")
        << QStringList{"\r\n$ 1"} << QStringList{} << "$ 1";
    QTest::newRow("second marker belongs to the line")
        << QStringList{"$ 1$2\r\n"} << QStringList{"1$2\r\n"} << "";
    QTest::newRow("lone carriage return inside")
        << QStringList{"$ 1\r2\r\n"} << QStringList{"1\r2\r\n"} << "";
    QTest::newRow("split across appends") << QStringList{"$ 15", "00.1 2", "0.5\r", "\n$ 1"}
                                          << QStringList{"1500.1 20.5\r\n"} << "$ 1";
    QTest::newRow("several lines in one append")
        << QStringList{"$ 1 2\r\n$ 3 4\r\n$ 5\r\n"} << QStringList{"1 2\r\n", "3 4\r\n", "5\r\n"}
        << "";
    QTest::newRow("partial line waits")
        << QStringList{"$ 1500.1 20"} << QStringList{} << "$ 1500.1 20";
    QTest::newRow("complete line then partial")
        << QStringList{"$ 1 2\r\n$ 3"} << QStringList{"1 2\r\n"} << "$ 3";
    QTest::newRow("no marker") << QStringList{"abc\r\ndef\r\n"} << QStringList{} << "";
}

void tst_Measurement::framing()
{
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, lines);
    QFETCH(QString, rest);

    QString buffer;
    QCOMPARE(frame_pieces(pieces, &buffer), lines);
    QCOMPARE(buffer, rest);
}

void tst_Measurement::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("speed and temperature") << "1500.1 20.5\r\n"
                                           << QStringList{"1500.1", "20.5\r\n"};
    QTest::newRow("speed only") << "1500.1\r\n" << QStringList{"1500.1\r\n"};
    QTest::newRow("two blanks make three fields") << "1500.1  20.5\r\n"
                                                  << QStringList{"1500.1", "", "20.5\r\n"};
    QTest::newRow("leading blank") << " 1500.1 20.5\r\n" << QStringList{"", "1500.1", "20.5\r\n"};
    QTest::newRow("blank before line end") << "1500.1 20.5 \r\n"
                                           << QStringList{"1500.1", "20.5", "\r\n"};
    QTest::newRow("tab is no separator") << "1500.1\t20.5\r\n" << QStringList{"1500.1\t20.5\r\n"};
    QTest::newRow("bare line feed") << "\n" << QStringList{"\n"};
}

void tst_Measurement::fields()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(split_fields(line), fields);
}

void tst_Measurement::decoder_drops_nul()
{
    ChunkDecoder decoder;
    QCOMPARE(decoder.decode(QByteArray("$ 1\0\0\0 2\r\n\0$ 3\r\n", 16)),
             QString("$ 1 2\r\n$ 3\r\n"));
    QCOMPARE(decoder.decode(QByteArray(4, '\0')), QString());
}

void tst_Measurement::decoder_matches_whole_utf8()
{
    const QByteArray bytes = QString("$ 1500.1 20.5℃ 声速 é 😀\r\n").toUtf8();
    ChunkDecoder decoder;
    QCOMPARE(decoder.decode(bytes), QString::fromUtf8(bytes));
}

void tst_Measurement::decoder_malformed_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QString bad(QChar::ReplacementCharacter);
    QTest::newRow("invalid byte") << QByteArray("a\xFF"
                                                "b")
                                  << "a" + bad + "b";
    QTest::newRow("lone continuation") << QByteArray("a\x80"
                                                     "b")
                                       << "a" + bad + "b";
    QTest::newRow("sequence cut short") << QByteArray("\xC3(") << bad + "(";
    QTest::newRow("cut short at a blank") << QByteArray("$\xE6\xB8 1\r\n") << "$" + bad + " 1\r\n";
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80"
                                                   "x")
                                     << bad + "x";
}

void tst_Measurement::decoder_malformed()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    ChunkDecoder decoder;
    QCOMPARE(decoder.decode(bytes), text);
}

void tst_Measurement::decoder_split_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("chinese") << QString("$ 声速 温度\r\n").toUtf8();
    QTest::newRow("four-byte character") << QString("$ 😀1500 🌊\r\n").toUtf8();
    QTest::newRow("nul inside and between characters")
        << QByteArray("$ \xE5\xA3\xB0\0\0 \xC3\xA9\0\r\n", 13);
    QTest::newRow("nul cutting a sequence") << QByteArray("a\xE5\0\xA3\xB0z", 6);
    QTest::newRow("malformed mix")
        << QByteArray("\xFF\xC3(\x80\xE6\xB8 \xF4\x90\x80\x80\xED\xA0\x80ok");
    QTest::newRow("overlong encodings") << QByteArray("\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF.");
}

void tst_Measurement::decoder_split()
{
    QFETCH(QByteArray, bytes);

    ChunkDecoder whole_decoder;
    const QString whole = whole_decoder.decode(bytes);
    QVERIFY(!whole.contains(QChar(0)));

    for (int at = 0; at <= bytes.size(); ++at) {
        ChunkDecoder decoder;
        QString text = decoder.decode(bytes.left(at));
        text += decoder.decode(bytes.mid(at));
        QVERIFY2(text == whole, qPrintable(QString("split at %1").arg(at)));
    }

    ChunkDecoder byte_decoder;
    QString by_byte;
    for (const char c : bytes)
        by_byte += byte_decoder.decode(QByteArray(1, c));
    QCOMPARE(by_byte, whole);
}

void tst_Measurement::bound_text_without_marker()
{
    LineFramer framer;
    QString buffer;
    QString line;
    for (int i = 0; i < 100; ++i) {
        framer.append(buffer, overlong('x', 1000) + "\r\n");
        QVERIFY(!framer.take_line(buffer, &line));
        QVERIFY(buffer.isEmpty());
    }
    framer.append(buffer, "$ 1 2\r\n");
    QVERIFY(framer.take_line(buffer, &line));
    QCOMPARE(line, QString("1 2\r\n"));
}

void tst_Measurement::bound_overlong_partial_line()
{
    LineFramer framer;
    QString buffer;
    QString line;

    framer.append(buffer, "$ " + overlong('x', 3000));
    QVERIFY(!framer.take_line(buffer, &line));
    framer.append(buffer, overlong('y', 3000));
    QVERIFY(!framer.take_line(buffer, &line));
    QVERIFY(buffer.size() <= LineFramer::max_line);

    // The rest of the overlong line, including a marker, goes up to its end.
    framer.append(buffer, "$ 9 9" + overlong('z', 3000));
    QVERIFY(!framer.take_line(buffer, &line));
    QVERIFY(buffer.size() <= LineFramer::max_line);

    framer.append(buffer, "tail\r\n$ 1500.1 20.5\r\n");
    QVERIFY(framer.take_line(buffer, &line));
    QCOMPARE(line, QString("1500.1 20.5\r\n"));
    QVERIFY(!framer.take_line(buffer, &line));
}

void tst_Measurement::bound_line_length_limit()
{
    // From "$" to "\r\n" inclusive: max_line characters still make a line.
    const QString longest = "$ " + overlong('7', LineFramer::max_line - 4) + "\r\n";
    const QString too_long = "$ " + overlong('7', LineFramer::max_line - 3) + "\r\n";
    QCOMPARE(longest.size(), LineFramer::max_line);

    const QStringList lines = frame_pieces({longest + too_long + "$ 1 2\r\n"});
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), longest.mid(2));
    QCOMPARE(lines.at(1), QString("1 2\r\n"));

    QCOMPARE(frame_by_character(longest + too_long + "$ 1 2\r\n"), lines);
}

void tst_Measurement::bound_after_every_take()
{
    QRandomGenerator random(20240611);
    const QStringList kinds
        = {"$ 1500.123 20.456\r\n", "$ 1500.1\r\n", "garbage", "\r\n", "$", "\r", "$ 12"};
    LineFramer framer;
    QString buffer;
    QString line;
    for (int round = 0; round < 2000; ++round) {
        QString piece;
        if (random.bounded(10) == 0)
            piece = overlong(QChar('a' + random.bounded(26)), random.bounded(6000));
        else
            piece = kinds.at(random.bounded(kinds.size()));
        framer.append(buffer, piece);
        while (framer.take_line(buffer, &line))
            QVERIFY(line.size() + 2 <= LineFramer::max_line);
        QVERIFY2(buffer.size() <= LineFramer::max_line,
                 qPrintable(QString("round %1: %2 characters").arg(round).arg(buffer.size())));
    }
}

void tst_Measurement::bound_well_formed_stream()
{
    QRandomGenerator random(7);
    QStringList sent;
    QString stream;
    for (int i = 0; i < 2000; ++i) {
        const QString speed = QString::number(1400 + random.bounded(200000) / 1000.0, 'f', 3);
        const QString temp = QString::number(random.bounded(40000) / 1000.0, 'f', 3);
        const QString line = (i % 7 == 0) ? speed + "\r\n" : speed + " " + temp + "\r\n";
        sent << line;
        stream += "$ " + line;
    }

    QStringList pieces;
    for (int at = 0; at < stream.size();) {
        const int size = 1 + random.bounded(64);
        pieces << stream.mid(at, size);
        at += size;
    }
    QString rest;
    QCOMPARE(frame_pieces(pieces, &rest), sent);
    QVERIFY(rest.isEmpty());
}

void tst_Measurement::bound_split_data()
{
    QTest::addColumn<QString>("stream");
    QTest::addColumn<QStringList>("lines");

    const QString inner_marker
        = "$ " + overlong('a', 2500) + "$ 9 9" + overlong('b', 2500) + "\r\n";
    QTest::newRow("overlong line with another marker") << "$ 1 2\r\n" + inner_marker + "$ 3 4\r\n"
                                                       << QStringList{"1 2\r\n", "3 4\r\n"};
    QTest::newRow("overlong line ending in lone returns") << "$ " + overlong('c', 4500)
            + "\r\r\r\n$ 5\r\n" << QStringList{"5\r\n"};
    QTest::newRow("overlong line then garbage") << "$ " + overlong('d', 5000)
            + "\r\nxyz\r\n$ 6 7\r\n" << QStringList{"6 7\r\n"};
    QTest::newRow("garbage before overlong line") << overlong('e', 5000) + "$" + overlong('f', 4100)
            + "\r\n$ 8\r\n" << QStringList{"8\r\n"};
}

void tst_Measurement::bound_split()
{
    QFETCH(QString, stream);
    QFETCH(QStringList, lines);

    QCOMPARE(frame_pieces({stream}), lines);
    QCOMPARE(frame_by_character(stream), lines);
    for (int at = 0; at <= stream.size(); ++at) {
        if (frame_split(stream, at) != lines)
            QFAIL(qPrintable(QString("split at %1 gives other lines").arg(at)));
    }
}

void tst_Measurement::average_block_data()
{
    QTest::addColumn<QStringList>("speeds");
    QTest::addColumn<QString>("shown");

    QTest::newRow("tenths") << QStringList{"1500.1", "1500.2", "1500.3", "1500.4", "1500.5"}
                            << "1500.3";
    QTest::newRow("whole-numbered average has no decimals")
        << QStringList{"1500", "1501", "1502", "1503", "1504"} << "1502";
    QTest::newRow("seven significant digits")
        << QStringList{"1234.5678", "1234.5678", "1234.5678", "1234.5678", "1234.5678"}
        << "1234.568";
    QTest::newRow("line ends attached")
        << QStringList{"1490.000\r\n", "1491.000\r\n", "1492.000", "1493.000", "1494.500"}
        << "1492.1";
    QTest::newRow("large value") << QStringList{"12345678", "12345678", "12345678", "12345678",
                                                "12345678"}
                                 << "1.234568e+07";
}

void tst_Measurement::average_block()
{
    QFETCH(QStringList, speeds);
    QFETCH(QString, shown);

    double sum = 0.0;
    unsigned int count = 0;
    QString display;
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!average_step(sum, count, 5, speeds.at(i), &display));
        QVERIFY(display.isEmpty());
    }
    QVERIFY(average_step(sum, count, 5, speeds.at(4), &display));
    QCOMPARE(display, shown);
    QCOMPARE(count, 0u);
    QCOMPARE(sum, 0.0);
}

void tst_Measurement::average_restarts()
{
    double sum = 0.0;
    unsigned int count = 0;
    QString display;
    for (const char *speed : {"1000", "1000", "1000", "1000", "1000"})
        average_step(sum, count, 5, speed, &display);
    QCOMPARE(display, QString("1000"));

    // The second block knows nothing of the first.
    display.clear();
    for (const char *speed : {"2000", "2002", "2004", "2006"})
        QVERIFY(!average_step(sum, count, 5, speed, &display));
    QVERIFY(display.isEmpty());
    QVERIFY(average_step(sum, count, 5, "2008", &display));
    QCOMPARE(display, QString("2004"));
}

void tst_Measurement::average_single_point()
{
    double sum = 12.5;
    unsigned int count = 3;
    QString display;
    for (const char *speed : {"1500.123", "abc", "1501.5\r\n", "\n"}) {
        QVERIFY(average_step(sum, count, 1, speed, &display));
        QCOMPARE(display, QString(speed));
    }
    QVERIFY(average_step(sum, count, 0, "1499.9", &display));
    QCOMPARE(display, QString("1499.9"));
    QCOMPARE(sum, 12.5);
    QCOMPARE(count, 3u);
}

void tst_Measurement::average_rejects_non_numbers_data()
{
    QTest::addColumn<QString>("speed");
    QTest::newRow("letters") << "abc";
    QTest::newRow("trailing letters") << "1500.1x";
    QTest::newRow("empty") << "";
    QTest::newRow("line end only") << "\r\n";
    QTest::newRow("line feed from marker and line end") << "\n";
    QTest::newRow("nan") << "nan";
    QTest::newRow("NaN") << "NaN";
    QTest::newRow("inf") << "inf";
    QTest::newRow("-inf") << "-inf";
    QTest::newRow("decimal comma") << "1500,1";
}

void tst_Measurement::average_rejects_non_numbers()
{
    QFETCH(QString, speed);

    double value = 0.0;
    QVERIFY(!speed_value(speed, &value));

    double sum = 0.0;
    unsigned int count = 0;
    QString display;
    for (const char *good : {"1000", "1000", "1000", "1000"})
        average_step(sum, count, 5, good, &display);
    QVERIFY(!average_step(sum, count, 5, speed, &display));
    QCOMPARE(count, 4u);
    QCOMPARE(sum, 4000.0);
    QVERIFY(average_step(sum, count, 5, "1500", &display));
    QCOMPARE(display, QString("1100"));
}

void tst_Measurement::average_ignores_blanks_data()
{
    QTest::addColumn<QString>("speed");
    QTest::newRow("line end") << "1500.5\r\n";
    QTest::newRow("blanks around") << "  1500.5 ";
    QTest::newRow("tab and line feed") << "\t1500.5\n";
}

void tst_Measurement::average_ignores_blanks()
{
    QFETCH(QString, speed);
    double value = 0.0;
    QVERIFY(speed_value(speed, &value));
    QCOMPARE(value, 1500.5);
}

QTEST_APPLESS_MAIN(tst_Measurement)
#include "tst_measurement.moc"
