// Recording the instrument's output to a file, checked byte for byte on disk,
// with a pseudo-terminal master standing in for the instrument.

#include "frmain.h"
#include "modalanswerer.h"
#include "ptypair.h"

#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

static const char idle_text[] = "保存数据";
static const char recording_text[] = "停止保存";
static const char open_failed[] = "\n文件打开失败\n请检查路径和权限！\n";
static const char write_failed[] = "\n数据写入失败\n已停止保存，请检查磁盘空间和设备！\n";

// "yyyy_MM_dd_hh_mm_ss" and "\r\n"
static const int time_line_size = 21;

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
        QLineEdit *port_edit = window.port_combobox->lineEdit();
        port_edit->clear();
        QTest::keyClicks(port_edit, pty.slave_path());
        QTest::mouseClick(window.open_button, Qt::LeftButton);
        return window.my_com->isOpen() && answerer.take_messages().isEmpty();
    }

    void click_save_data() { QTest::mouseClick(window.save_data_button, Qt::LeftButton); }

    // Sends bytes that complete a line with this speed and waits until the
    // program has shown it, so whatever it did with the chunk has been done.
    bool write_until_shown(const QByteArray &bytes, const QString &speed)
    {
        if (!pty.write(bytes))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (window.speed_lineedit->text() != speed) {
            if (clock.elapsed() > 5000)
                return false;
            QTest::qWait(5);
        }
        return true;
    }

    bool feed_line(const QString &speed)
    {
        return write_until_shown("$ " + speed.toLatin1() + " 15.000\r\n", speed);
    }
};

static QByteArray file_contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// A start or end line: local time as yyyy_MM_dd_hh_mm_ss and "\r\n", taken
// between from and to.
static bool is_time_line(const QByteArray &line, const QDateTime &from, const QDateTime &to)
{
    static const QRegularExpression pattern("^\\d{4}_\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d\\r\\n\\z");
    if (!pattern.match(QString::fromLatin1(line)).hasMatch())
        return false;
    const QDateTime time
        = QDateTime::fromString(QString::fromLatin1(line.left(19)), "yyyy_MM_dd_hh_mm_ss");
    return time.isValid() && time >= from.addSecs(-1) && time <= to.addSecs(1);
}

class TestRecording : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void complete_recording();
    void cancel_stays_idle();
    void second_recording_truncates();
    void bytes_during_dialog_follow_start_line();
    void configuration_exchange_not_recorded();
    void closing_window_leaves_no_end_line();
    void unopenable_path_data();
    void unopenable_path();
    void failing_write_ends_recording();
    void each_chunk_reaches_disk();

private:
    QTemporaryDir dir;
};

void TestRecording::initTestCase()
{
    // The file dialog keeps its history in the settings; keep it away from
    // the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(dir.isValid());
}

void TestRecording::complete_recording()
{
    Bench bench;
    QVERIFY(bench.open());
    const QString path = dir.filePath("complete.txt");
    bench.answerer.answer_file_dialog(path);

    const QDateTime before_start = QDateTime::currentDateTime();
    bench.click_save_data();
    const QDateTime after_start = QDateTime::currentDateTime();
    QCOMPARE(bench.window.save_data_button->text(), QString(recording_text));
    QVERIFY(bench.window.data_file->isOpen());
    QVERIFY(!bench.window.read_paused);
    QVERIFY(bench.answerer.messages.isEmpty());

    // Whole lines, lines split anywhere (a UTF-8 character included), a line
    // with too many fields, text without a marker, NULs and stray bytes.
    const QList<QByteArray> chunks = {
        QByteArray("$ 1500.125 15.250\r\n"),
        QByteArray("$ 1501.2"),
        QByteArray("50 15.5\xc2"),
        QByteArray("\xb0\r\n$ 1502.000 15.000 35.000\r\n"),
        QByteArray("noise \x00\x00 more\xff\xfe\r\n", 17),
        QByteArray("\x00", 1),
        QByteArray("$ 1499.9"),
    };
    QByteArray body;
    for (const QByteArray &chunk : chunks) {
        QVERIFY(bench.pty.write(chunk));
        body += chunk;
        QTRY_COMPARE(file_contents(path).mid(time_line_size), body);
    }

    const QDateTime before_stop = QDateTime::currentDateTime();
    bench.click_save_data();
    const QDateTime after_stop = QDateTime::currentDateTime();
    QCOMPARE(bench.window.save_data_button->text(), QString(idle_text));
    QVERIFY(!bench.window.data_file->isOpen());
    QVERIFY(!bench.window.read_paused);

    // After the stop nothing more reaches the file.
    QVERIFY(bench.write_until_shown("00 15.000\r\n", "1499.900"));

    const QByteArray file = file_contents(path);
    QCOMPARE(file.size(), time_line_size + body.size() + time_line_size);
    QVERIFY2(is_time_line(file.left(time_line_size), before_start, after_start),
             file.left(time_line_size).constData());
    QCOMPARE(file.mid(time_line_size, body.size()), body);
    // The body ended inside a line, so the end line goes on that line.
    QVERIFY2(is_time_line(file.right(time_line_size), before_stop, after_stop),
             file.right(time_line_size).constData());
    QVERIFY(bench.answerer.messages.isEmpty());
}

void TestRecording::cancel_stays_idle()
{
    Bench bench;
    QVERIFY(bench.open());
    const QString path = dir.filePath("cancel.txt");
    bench.answerer.answer_file_dialog(path);
    bench.click_save_data();
    QVERIFY(bench.feed_line("1500.000"));
    bench.click_save_data();
    const QByteArray recorded = file_contents(path);
    QCOMPARE(recorded.size(), 2 * time_line_size + 19);

    // No answer queued: the dialog is cancelled.
    QVERIFY(!bench.window.save_data_slot());
    QCOMPARE(bench.answerer.file_dialogs.size(), 2);
    QCOMPARE(bench.window.save_data_button->text(), QString(idle_text));
    QVERIFY(!bench.window.data_file->isOpen());
    QVERIFY(!bench.window.read_paused);
    QVERIFY(bench.window.data_file_name.isEmpty());

    QVERIFY(bench.feed_line("1501.000"));
    QCOMPARE(file_contents(path), recorded);

    // The next dialog no longer offers the earlier file.
    const QString next_path = dir.filePath("after_cancel.txt");
    bench.answerer.answer_file_dialog(next_path);
    bench.click_save_data();
    QCOMPARE(bench.answerer.file_dialogs.size(), 3);
    QCOMPARE(bench.answerer.file_dialogs.last().file_name, QString());
    QCOMPARE(bench.window.save_data_button->text(), QString(recording_text));
    QVERIFY(bench.feed_line("1502.000"));
    bench.click_save_data();
    QCOMPARE(file_contents(next_path).mid(time_line_size, 19), QByteArray("$ 1502.000 15.000\r\n"));
    QCOMPARE(file_contents(path), recorded);
    QVERIFY(bench.answerer.messages.isEmpty());
}

void TestRecording::second_recording_truncates()
{
    Bench bench;
    QVERIFY(bench.open());
    const QString path = dir.filePath("again.txt");

    bench.answerer.answer_file_dialog(path);
    bench.click_save_data();
    QCOMPARE(bench.answerer.file_dialogs.first().file_name, QString());
    for (int i = 0; i < 20; ++i)
        QVERIFY(bench.feed_line(QString("15%1.500").arg(i, 2, 10, QChar('0'))));
    bench.click_save_data();
    QCOMPARE(file_contents(path).size(), 2 * time_line_size + 20 * 19);

    // The same name again: the dialog starts there and asks before replacing.
    bench.answerer.answer_file_dialog(path);
    const QDateTime before_start = QDateTime::currentDateTime();
    bench.click_save_data();
    QCOMPARE(bench.answerer.file_dialogs.size(), 2);
    QCOMPARE(bench.answerer.file_dialogs.last().file_name, QString("again.txt"));
    QCOMPARE(QFileInfo(bench.answerer.file_dialogs.last().directory).canonicalFilePath(),
             QFileInfo(dir.path()).canonicalFilePath());
    QCOMPARE(bench.answerer.messages.size(), 1);
    QVERIFY(bench.answerer.messages.first().contains("again.txt"));
    QCOMPARE(bench.window.save_data_button->text(), QString(recording_text));

    QVERIFY(bench.feed_line("1600.000"));
    bench.click_save_data();
    const QDateTime after_stop = QDateTime::currentDateTime();
    QVERIFY(!bench.window.read_paused);

    const QByteArray file = file_contents(path);
    QCOMPARE(file.size(), 2 * time_line_size + 19);
    QVERIFY(is_time_line(file.left(time_line_size), before_start, after_stop));
    QCOMPARE(file.mid(time_line_size, 19), QByteArray("$ 1600.000 15.000\r\n"));
    QVERIFY(is_time_line(file.right(time_line_size), before_start, after_stop));
}

void TestRecording::bytes_during_dialog_follow_start_line()
{
    Bench bench;
    QVERIFY(bench.open());
    const QString path = dir.filePath("held.txt");
    bench.answerer.answer_file_dialog(path);
    bench.answerer.hold_ms = 400;

    const QByteArray held("$ 1500.100 15.000\r\n$ 15");
    bool paused_in_dialog = false;
    QString button_in_dialog;
    QString speed_in_dialog;
    QTimer::singleShot(50, [&] { bench.pty.write(held); });
    QTimer::singleShot(300, [&] {
        paused_in_dialog = bench.window.read_paused;
        button_in_dialog = bench.window.save_data_button->text();
        speed_in_dialog = bench.window.speed_lineedit->text();
    });
    bench.click_save_data();
    bench.answerer.hold_ms = 0;

    QVERIFY(paused_in_dialog);
    QCOMPARE(button_in_dialog, QString(recording_text));
    QCOMPARE(speed_in_dialog, QString("0000.000"));
    QVERIFY(!bench.window.read_paused);
    QCOMPARE(bench.window.save_data_button->text(), QString(recording_text));

    const QByteArray next("01.200 15.000\r\n");
    QVERIFY(bench.pty.write(next));
    QTRY_COMPARE(file_contents(path).mid(time_line_size), held + next);
    QVERIFY(bench.feed_line("1502.300"));
    bench.click_save_data();

    const QByteArray file = file_contents(path);
    const QByteArray body = held + next + "$ 1502.300 15.000\r\n";
    QCOMPARE(file.size(), 2 * time_line_size + body.size());
    QCOMPARE(file.mid(time_line_size, body.size()), body);
}

void TestRecording::configuration_exchange_not_recorded()
{
    Bench bench;
    QVERIFY(bench.open());
    const QString path = dir.filePath("exchange.txt");
    bench.answerer.answer_file_dialog(path);
    bench.click_save_data();
    QVERIFY(bench.feed_line("1490.000"));

    const QByteArray reply("OK uart bps 9600\r\n");
    const QByteArray line("$ 1495.500 15.500\r\n");
    const QByteArray prompt("prompt> ");
    QTimer::singleShot(300, [&] { bench.pty.write(reply); });
    QTimer::singleShot(700, [&] { bench.pty.write(line); });
    QTimer::singleShot(1100, [&] { bench.pty.write(prompt); });
    QTest::mouseClick(bench.window.send_config_button, Qt::LeftButton);
    QVERIFY(!bench.window.configuring);

    QVERIFY(bench.feed_line("1491.000"));
    bench.click_save_data();

    const QByteArray file = file_contents(path);
    QCOMPARE(file.mid(time_line_size, file.size() - 2 * time_line_size),
             QByteArray("$ 1490.000 15.000\r\n$ 1491.000 15.000\r\n"));

    // In the pane: the reply and the unfinished prompt raw, the measurement line
    // twice (once as a line, once raw); lines outside the exchange once.
    const QString pane = bench.window.status_textedit->toPlainText();
    QVERIFY2(pane.contains("OK uart bps 9600"), qPrintable(pane));
    QVERIFY2(pane.contains("prompt> "), qPrintable(pane));
    QCOMPARE(pane.count("1495.500 15.500"), 2);
    QCOMPARE(pane.count("1490.000 15.000"), 1);
    QVERIFY(bench.answerer.messages.isEmpty());
}

void TestRecording::closing_window_leaves_no_end_line()
{
    Bench bench;
    QVERIFY(bench.open());
    const QString path = dir.filePath("closed.txt");
    bench.answerer.answer_file_dialog(path);
    bench.click_save_data();
    QVERIFY(bench.feed_line("1500.000"));
    QVERIFY(bench.pty.write("$ 1501"));
    QTRY_COMPARE(file_contents(path).size(), time_line_size + 19 + 6);

    QVERIFY(bench.window.close());
    QVERIFY(!bench.window.data_file->isOpen());
    QVERIFY(bench.write_until_shown(".000 15.000\r\n", "1501.000"));

    const QByteArray file = file_contents(path);
    QCOMPARE(file.size(), time_line_size + 19 + 6);
    QVERIFY(is_time_line(file.left(time_line_size), QDateTime::currentDateTime().addSecs(-10),
                         QDateTime::currentDateTime()));
    QCOMPARE(file.mid(time_line_size), QByteArray("$ 1500.000 15.000\r\n$ 1501"));
}

void TestRecording::unopenable_path_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing directory") << dir.filePath("absent/run.txt");
    QTest::newRow("under a plain file") << dir.filePath("plain.txt/run.txt");
}

void TestRecording::unopenable_path()
{
    QFETCH(QString, path);
    QFile plain(dir.filePath("plain.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();

    Bench bench;
    QVERIFY(bench.open());
    bench.answerer.answer_file_dialog(path);
    bench.click_save_data();
    QCOMPARE(bench.answerer.file_dialogs.size(), 1);
    QCOMPARE(bench.answerer.messages, QStringList{open_failed});
    QCOMPARE(bench.window.save_data_button->text(), QString(idle_text));
    QVERIFY(!bench.window.data_file->isOpen());
    QVERIFY(!bench.window.read_paused);

    // Idle: data is not stored and raises nothing more.
    QVERIFY(bench.feed_line("1500.000"));
    QVERIFY(bench.feed_line("1501.000"));
    QCOMPARE(bench.answerer.messages.size(), 1);
    QVERIFY(!QFileInfo::exists(path));

    // A click starts a new recording instead of stopping one.
    bench.click_save_data();
    QCOMPARE(bench.answerer.file_dialogs.size(), 2);
    QCOMPARE(bench.window.save_data_button->text(), QString(idle_text));
    QCOMPARE(bench.answerer.messages.size(), 1);
}

void TestRecording::failing_write_ends_recording()
{
    if (!QFileInfo::exists("/dev/full"))
        QSKIP("no /dev/full here");
    Bench bench;
    QVERIFY(bench.open());
    bench.answerer.answer_file_dialog("/dev/full");
    bench.click_save_data();
    QVERIFY(!bench.window.read_paused);

    // Keep the box open while more data comes in, so the reader runs under it.
    bench.answerer.hold_ms = 200;
    for (int i = 0; i < 30; ++i)
        QVERIFY(bench.feed_line(QString("15%1.000").arg(i, 2, 10, QChar('0'))));
    QVERIFY(bench.answerer.wait_for_messages(1));
    QTest::qWait(300);

    // The dialog asked before "replacing" the device file; then one failure.
    QCOMPARE(bench.answerer.messages.size(), 2);
    QVERIFY(bench.answerer.messages.at(0).contains("full"));
    QCOMPARE(bench.answerer.messages.at(1), QString(write_failed));
    QCOMPARE(bench.window.save_data_button->text(), QString(idle_text));
    QVERIFY(!bench.window.data_file->isOpen());
    QVERIFY(!bench.window.read_paused);
}

void TestRecording::each_chunk_reaches_disk()
{
    Bench bench;
    QVERIFY(bench.open());
    const QString path = dir.filePath("flushed.txt");
    bench.answerer.answer_file_dialog(path);
    bench.click_save_data();
    QCOMPARE(file_contents(path).size(), time_line_size);

    // Read from disk as soon as the program has handled each chunk, without
    // stopping the recording.
    QByteArray body;
    for (int i = 0; i < 5; ++i) {
        const QString speed = QString("14%1.750").arg(i, 2, 10, QChar('0'));
        QVERIFY(bench.feed_line(speed));
        body += "$ " + speed.toLatin1() + " 15.000\r\n";
        QCOMPARE(file_contents(path).mid(time_line_size), body);
    }
    QVERIFY(bench.window.data_file->isOpen());
    bench.click_save_data();
}

QTEST_MAIN(TestRecording)
#include "tst_recording.moc"
