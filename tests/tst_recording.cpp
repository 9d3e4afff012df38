// Recording the instrument's output to a file, checked byte for byte on disk,
// with a pseudo-terminal master standing in for the instrument.

#include "frmain.h"
#include "modalanswerer.h"
#include "ptypair.h"
#include "waits.h"

#include <QComboBox>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

static const char idle_text[] = "保存数据";

// "yyyy_MM_dd_hh_mm_ss" and "\r\n"
static const int time_line_size = 21;
static const QByteArray line_1500("$ 1500.000 15.000\r\n");

// The window with its port open on the slave side of a pseudo-terminal.
// The answerer goes first on destruction, the pseudo-terminal last.
struct Bench
{
    PtyPair pty;
    frmain window;
    ModalAnswerer answerer;

    bool open()
    {
        window.show();
        if (!pty.is_open() || !QTest::qWaitForWindowExposed(&window))
            return false;
        window.port_combobox->setEditText(pty.slave_path());
        QTest::mouseClick(window.open_button, Qt::LeftButton);
        return window.my_com->isOpen() && answerer.take_messages().isEmpty();
    }
    void click() { QTest::mouseClick(window.save_data_button, Qt::LeftButton); }
    void start(const QString &path)
    {
        answerer.answer_file_dialog(path);
        click();
    }
    bool feed(const QString &speed) { return feed_line(pty, window.speed_lineedit, speed); }
    bool complete(const QByteArray &bytes, const QString &speed)
    {
        return write_until_shown(pty, window.speed_lineedit, bytes, speed);
    }
    bool idle() const
    {
        return window.save_data_button->text() == idle_text && !window.data_file->isOpen()
            && !window.read_paused;
    }
};

static QByteArray file_contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What lies between the start and the end line.
static QByteArray recorded_body(const QString &path)
{
    const QByteArray file = file_contents(path);
    return file.mid(time_line_size, qMax(0, file.size() - 2 * time_line_size));
}

// A start or end line: local time as yyyy_MM_dd_hh_mm_ss and "\r\n", taken
// between from and to.
static bool is_time_line(const QByteArray &line, const QDateTime &from, const QDateTime &to)
{
    static const QRegularExpression pattern("^\\d{4}(_\\d\\d){5}\\r\\n\\z");
    const QDateTime time
        = QDateTime::fromString(QString::fromLatin1(line.left(19)), "yyyy_MM_dd_hh_mm_ss");
    return pattern.match(QString::fromLatin1(line)).hasMatch() && time >= from.addSecs(-1)
        && time <= to.addSecs(1);
}

class TestRecording : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        // The file dialog keeps its history in the settings; keep it away from
        // the user's own.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir.isValid());
    }

    void complete_recording()
    {
        Bench bench;
        QVERIFY(bench.open());
        const QString path = dir.filePath("complete.txt");
        const QDateTime before_start = QDateTime::currentDateTime();
        bench.start(path);
        const QDateTime after_start = QDateTime::currentDateTime();
        QCOMPARE(bench.window.save_data_button->text(), QString("停止保存"));

        // Whole lines, lines split anywhere (a UTF-8 character included), a line
        // with too many fields, text without a marker, NULs and stray bytes.
        const QList<QByteArray> chunks = {QByteArray("$ 1500.125 15.250\r\n"),
                                          QByteArray("$ 1501.2"),
                                          QByteArray("50 15.5\xc2"),
                                          QByteArray("\xb0\r\n$ 1502.000 15.000 35.000\r\n"),
                                          QByteArray("noise \x00\x00 more\xff\xfe\r\n", 17),
                                          QByteArray("\x00", 1),
                                          QByteArray("$ 1499.9")};
        QByteArray body;
        for (const QByteArray &chunk : chunks) {
            QVERIFY(bench.pty.write(chunk));
            body += chunk;
            QTRY_COMPARE(file_contents(path).mid(time_line_size), body);
        }
        // Each chunk is on disk as soon as the program has handled it.
        QVERIFY(bench.complete("00 15.000\r\n", "1499.900"));
        body += "00 15.000\r\n";
        QCOMPARE(file_contents(path).mid(time_line_size), body);

        bench.click();
        const QDateTime after_stop = QDateTime::currentDateTime();
        QVERIFY(bench.idle());
        QVERIFY(bench.feed("1500.000"));

        const QByteArray file = file_contents(path);
        QVERIFY(is_time_line(file.left(time_line_size), before_start, after_start));
        QCOMPARE(recorded_body(path), body);
        QVERIFY(is_time_line(file.right(time_line_size), after_start, after_stop));
        QVERIFY(bench.answerer.messages.isEmpty());
    }

    // The dialog starts at the name chosen last and a second recording there
    // replaces the file; a cancel records nothing and forgets the name.
    void dialog_start_and_truncation()
    {
        Bench bench;
        QVERIFY(bench.open());
        const QString path = dir.filePath("again.txt");
        bench.start(path);
        for (const char *speed : {"1500.000", "1501.000", "1502.000"})
            QVERIFY(bench.feed(speed));
        bench.click();
        QCOMPARE(recorded_body(path).size(), 3 * 19);

        bench.start(path);
        QCOMPARE(bench.answerer.file_dialogs.size(), 2);
        QCOMPARE(bench.answerer.file_dialogs.at(0).file_name, QString());
        QCOMPARE(bench.answerer.file_dialogs.at(1).file_name, QString("again.txt"));
        QCOMPARE(QFileInfo(bench.answerer.file_dialogs.at(1).directory).canonicalFilePath(),
                 QFileInfo(dir.path()).canonicalFilePath());
        // The dialog's own question before replacing.
        QCOMPARE(bench.answerer.take_messages().size(), 1);
        QVERIFY(bench.feed("1500.000"));
        bench.click();
        QCOMPARE(recorded_body(path), line_1500);
        const QByteArray recorded = file_contents(path);

        // No answer queued: the dialog is cancelled.
        bench.click();
        QVERIFY(bench.idle());
        QVERIFY(bench.window.data_file_name.isEmpty());
        QVERIFY(bench.feed("1501.000"));
        QCOMPARE(file_contents(path), recorded);
        bench.click();
        QCOMPARE(bench.answerer.file_dialogs.size(), 4);
        QCOMPARE(bench.answerer.file_dialogs.last().file_name, QString());
        QVERIFY(bench.answerer.messages.isEmpty());
    }

    void bytes_during_dialog_follow_start_line()
    {
        Bench bench;
        QVERIFY(bench.open());
        const QString path = dir.filePath("held.txt");
        bench.answerer.hold_ms = 400;

        const QByteArray held("$ 1500.100 15.000\r\n$ 15");
        bool paused_in_dialog = false;
        QString speed_in_dialog;
        QTimer::singleShot(50, [&] { bench.pty.write(held); });
        QTimer::singleShot(300, [&] {
            paused_in_dialog = bench.window.read_paused;
            speed_in_dialog = bench.window.speed_lineedit->text();
        });
        bench.start(path);
        QVERIFY(paused_in_dialog);
        QCOMPARE(speed_in_dialog, QString("0000.000"));
        QVERIFY(!bench.window.read_paused);

        const QByteArray next("01.200 15.000\r\n");
        QVERIFY(bench.complete(next, "1501.200"));
        bench.click();
        QCOMPARE(recorded_body(path), held + next);
    }

    // Replies, and measurement lines too, received during an exchange go to the
    // pane instead of the file.
    void configuration_exchange_not_recorded()
    {
        Bench bench;
        QVERIFY(bench.open());
        const QString path = dir.filePath("exchange.txt");
        bench.start(path);
        QVERIFY(bench.feed("1490.000"));

        QTimer::singleShot(300, [&] { bench.pty.write("OK uart bps 9600\r\n"); });
        QTimer::singleShot(700, [&] { bench.pty.write("$ 1495.500 15.500\r\n"); });
        QTimer::singleShot(1100, [&] { bench.pty.write("prompt> "); });
        QTest::mouseClick(bench.window.send_config_button, Qt::LeftButton);
        QVERIFY(bench.feed("1491.000"));
        bench.click();

        QCOMPARE(recorded_body(path), QByteArray("$ 1490.000 15.000\r\n$ 1491.000 15.000\r\n"));

        // The measurement line inside the exchange shows twice (as a line and
        // raw), lines outside it once.
        const QString pane = bench.window.status_textedit->toPlainText();
        QVERIFY2(pane.contains("OK uart bps 9600") && pane.contains("prompt> "), qPrintable(pane));
        QCOMPARE(pane.count("1495.500 15.500"), 2);
        QCOMPARE(pane.count("1490.000 15.000"), 1);
        QCOMPARE(pane.count("1491.000 15.000"), 1);
        QVERIFY(bench.answerer.messages.isEmpty());
    }

    void closing_window_leaves_no_end_line()
    {
        Bench bench;
        QVERIFY(bench.open());
        const QString path = dir.filePath("closed.txt");
        bench.start(path);
        QVERIFY(bench.feed("1500.000"));
        QVERIFY(bench.pty.write("$ 1501"));
        QTRY_COMPARE(file_contents(path).mid(time_line_size), line_1500 + "$ 1501");

        QVERIFY(bench.window.close());
        QVERIFY(!bench.window.data_file->isOpen());
        QVERIFY(bench.complete(".000 15.000\r\n", "1501.000"));
        QCOMPARE(file_contents(path).size(), time_line_size + 19 + 6);
    }

    // Each failure is reported and leaves the program idle, so the next
    // click opens the dialog again; nothing is stored.
    void unopenable_path()
    {
        QVERIFY(QFile(dir.filePath("plain.txt")).open(QIODevice::WriteOnly));
        const QString missing_dir = dir.filePath("absent/run.txt");
        const QString under_file = dir.filePath("plain.txt/run.txt");
        Bench bench;
        QVERIFY(bench.open());
        for (const QString &path : {missing_dir, under_file}) {
            bench.start(path);
            QCOMPARE(bench.answerer.take_messages(),
                     QStringList{"\n文件打开失败\n请检查路径和权限！\n"});
            QVERIFY(bench.idle());
        }
        QVERIFY(bench.feed("1500.000"));
        QCOMPARE(bench.answerer.file_dialogs.size(), 2);
        QVERIFY(bench.answerer.messages.isEmpty());
        QVERIFY(!QFileInfo::exists(missing_dir) && !QFileInfo::exists(under_file));
    }

    void failing_write_ends_recording()
    {
        Bench bench;
        QVERIFY(bench.open());
        bench.start("/dev/full");

        // Keep the box open while more data comes in, so the reader runs under it.
        bench.answerer.hold_ms = 200;
        for (int i = 0; i < 30; ++i)
            QVERIFY(bench.feed(QString("15%1.000").arg(i, 2, 10, QChar('0'))));
        QVERIFY(bench.answerer.wait_for_messages(2));
        QTest::qWait(300);

        // The dialog asked before "replacing" the device file; then one failure.
        QCOMPARE(bench.answerer.messages.size(), 2);
        QCOMPARE(bench.answerer.messages.at(1),
                 QString("\n数据写入失败\n已停止保存，请检查磁盘空间和设备！\n"));
        QVERIFY(bench.idle());
    }
};

QTEST_MAIN(TestRecording)
#include "tst_recording.moc"
