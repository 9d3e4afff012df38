#include "framing_check.h"
#include "measurementstream.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// Replays the fuzzing corpus through the fuzzer's checks. A broken invariant
// aborts the run; the line counts are checked here against the bytes.
static QByteArray read_corpus_file(const QString &name)
{
    QFile file(QDir(CORPUS_DIR).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static const uint8_t *bytes(const QByteArray &data)
{
    return reinterpret_cast<const uint8_t *>(data.constData());
}

class tst_corpus : public QObject
{
    Q_OBJECT

private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : QDir(CORPUS_DIR).entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << name;
    }

    // A line end with a "$" since the last one closes a line; a span of at most
    // max_line bytes from the last such "$" is surely a line, as the decoder never
    // makes more characters than bytes; a longer one is a line only if its
    // non-ASCII bytes shrink it enough.
    void replay()
    {
        QFETCH(QString, name);
        const QByteArray data = read_corpus_file(name);
        QVERIFY(!data.isEmpty());
        QByteArray stream = parse_framing_input(bytes(data), size_t(data.size())).stream;
        stream.replace('\0', QByteArray());
        int certain = 0;
        int possible = 0;
        int from = 0;
        for (int end; (end = stream.indexOf("\r\n", from)) >= 0; from = end + 2) {
            const int start = end > 0 ? stream.lastIndexOf('$', end - 1) : -1;
            if (start < from)
                continue;
            if (end - start + 2 <= MeasurementStream::max_line)
                ++certain;
            else
                ++possible;
        }
        const int lines = check_framing(bytes(data), size_t(data.size()));
        QVERIFY2(lines >= certain && lines <= certain + possible,
                 qPrintable(QString::asprintf("%d lines, %d certain, %d possible in the bytes",
                                              lines, certain, possible)));
    }

    // Where the bytes alone cannot tell: the count is known from how the file was
    // written. A missing corpus fails here too.
    void known_counts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("lines");
        QTest::newRow("twenty well-formed lines") << "well_formed" << 20;
        QTest::newRow("overlong line dropped, two kept") << "overlong" << 2;
        QTest::newRow("line of exactly max_line kept, one more dropped") << "overlong_exact" << 2;
        QTest::newRow("overlong line with its \\r ending a chunk")
            << "overlong_cr_at_chunk_end" << 1;
    }

    void known_counts()
    {
        QFETCH(QString, name);
        QFETCH(int, lines);
        const QByteArray data = read_corpus_file(name);
        QCOMPARE(check_framing(bytes(data), size_t(data.size())), lines);
    }

    // The corpus of the other formats, each file's input format chosen by its
    // first bytes: every file is listed, with its line count known from how it
    // was written.
    void formats_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("lines");
        const QStringList fixed{"sv", "sv_mm", "p_t_sv", "tagged", "psgds", "pssv", "t_c_s_sv"};
        const QVector<int> sizes{8, 6, 6, 6, 5, 6, 5};
        for (int i = 0; i < fixed.size(); ++i) {
            QTest::newRow(qPrintable(fixed[i])) << fixed[i] + "_lines" << sizes[i];
            // Junk mid-line, then four lines.
            QTest::newRow(qPrintable("auto " + fixed[i])) << "auto_" + fixed[i] << 5;
        }
        QTest::newRow("checksums ignored") << "psgds_checksums_ignored" << 5;
        QTest::newRow("sv, then another format, then dollar") << "auto_switches" << 6;
        QTest::newRow("a dollar line over a lone LF decides") << "auto_dollar_after_lone_ends" << 4;
        QTest::newRow("overlong line dropped") << "sv_overlong_line" << 2;
        QTest::newRow("CR at chunk ends") << "sv_cr_at_chunk_ends" << 4;
        QTest::newRow("line of exactly max_line kept, one more dropped")
            << "sv_lines_of_max_line" << 2;
        QTest::newRow("line of max_line, its lone CR ending a chunk")
            << "sv_max_line_cr_at_chunk_end" << 3;
        QCOMPARE(QDir(FORMATS_CORPUS_DIR).entryList(QDir::Files).size(), 2 * fixed.size() + 7);
    }

    void formats()
    {
        QFETCH(QString, name);
        QFETCH(int, lines);
        QFile file(QDir(FORMATS_CORPUS_DIR).filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        QCOMPARE(check_framing(bytes(data), size_t(data.size())), lines);
    }
};

QTEST_GUILESS_MAIN(tst_corpus)
#include "tst_corpus.moc"
