#include "framing_check.h"
#include "measurement.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// Replays the fuzzing corpus through the fuzzer's checks. A broken invariant
// aborts the run; the line counts are checked here against a count made
// straight from the bytes.
class tst_corpus : public QObject
{
    Q_OBJECT

private slots:
    void corpus_is_usable();
    void replay_data();
    void replay();
    void known_counts_data();
    void known_counts();
};

static QStringList corpus_files()
{
    return QDir(CORPUS_DIR).entryList(QDir::Files, QDir::Name);
}

static QByteArray read_corpus_file(const QString &name)
{
    QFile file(QDir(CORPUS_DIR).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

static int check(const QByteArray &data)
{
    return check_framing(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
}

// Counts the "$ ... \r\n" spans of a stream at the byte level. The decoder maps
// every ASCII byte to one character and never makes more characters than
// bytes, so a span of at most max_line bytes is surely a line; a longer one is
// a line only if its non-ASCII bytes shrink it enough.
static void count_spans(QByteArray stream, int *certain, int *possible)
{
    stream.replace('\0', QByteArray());
    *certain = 0;
    *possible = 0;
    int pos = 0;
    for (;;) {
        const int start = stream.indexOf('$', pos);
        if (start < 0)
            return;
        const int end = stream.indexOf("\r\n", start);
        if (end < 0)
            return;
        if (end - start + 2 <= LineFramer::max_line)
            ++*certain;
        else
            ++*possible;
        pos = end + 2;
    }
}

void tst_corpus::corpus_is_usable()
{
    const QStringList files = corpus_files();
    QVERIFY2(files.size() >= 12,
             qPrintable(QString("only %1 files in " CORPUS_DIR).arg(files.size())));
    qint64 total = 0;
    for (const QString &name : files)
        total += QFileInfo(QDir(CORPUS_DIR).filePath(name)).size();
    QVERIFY2(total < 100 * 1024, qPrintable(QString("corpus holds %1 bytes").arg(total)));
}

void tst_corpus::replay_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : corpus_files())
        QTest::newRow(qPrintable(name)) << name;
}

void tst_corpus::replay()
{
    QFETCH(QString, name);
    const QByteArray data = read_corpus_file(name);
    QVERIFY(!data.isEmpty());

    const int lines = check(data);

    const FramingInput input = parse_framing_input(
        reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
    int certain = 0;
    int possible = 0;
    count_spans(input.stream, &certain, &possible);
    QVERIFY2(lines >= certain && lines <= certain + possible,
             qPrintable(QString("%1 lines taken, %2 certain and %3 possible in the bytes")
                            .arg(lines)
                            .arg(certain)
                            .arg(possible)));
}

// Files whose line count is known from how they were written.
void tst_corpus::known_counts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lines");
    QTest::newRow("twenty well-formed lines") << "well_formed" << 20;
    QTest::newRow("twelve lines in 3, 7 and 11 byte chunks") << "split_lines" << 12;
    QTest::newRow("overlong line dropped, two kept") << "overlong" << 2;
    QTest::newRow("line of exactly max_line kept, one more dropped") << "overlong_exact" << 2;
    QTest::newRow("overlong line with its \\r ending a chunk") << "overlong_cr_at_chunk_end" << 1;
    QTest::newRow("\"$\\r\\n\" is a line of its own") << "dollar_crlf" << 4;
    QTest::newRow("three-field lines are still taken") << "three_fields" << 4;
    QTest::newRow("text without \"$\" yields nothing") << "no_dollar" << 1;
    QTest::newRow("empty stream") << "empty_stream" << 0;
}

void tst_corpus::known_counts()
{
    QFETCH(QString, name);
    QFETCH(int, lines);
    const QByteArray data = read_corpus_file(name);
    QVERIFY2(!data.isEmpty(), qPrintable(name + " is missing from the corpus"));
    QCOMPARE(check(data), lines);
}

QTEST_GUILESS_MAIN(tst_corpus)
#include "tst_corpus.moc"
