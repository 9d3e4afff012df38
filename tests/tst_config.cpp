// Configuring the instrument: what reaches the line and when, read at a
// pseudo-terminal master; the output-rate check; the averaging count.

#include "frmain.h"
#include "modalanswerer.h"
#include "ptypair.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <termios.h>

static const char out_of_range[] = "\n数值不在范围内!\n请输入(1~30)范围的数字\n";
static const char avg_accepted[] = "设置成功！";
static const char avg_refused[] = "数值必须为大于0的整数！";

// A step of a command sequence: its bytes, whether they go one character at
// a time (20 ms after each), and the pause that follows.
struct Step
{
    QByteArray bytes;
    bool by_character;
    int pause_ms;
};

static QVector<Step> send_steps(const QByteArray &baud, const QByteArray &rate,
                                const QByteArray &temp)
{
    return {{"\r", false, 100}, {"uart bps " + baud, true, 100},
            {"\r", false, 200}, {"data rate " + rate, true, 100},
            {"\r", false, 200}, {"water temp " + temp, true, 100},
            {"\r", false, 300}};
}

static QVector<Step> save_steps()
{
    return {{"done", true, 100}, {"\r", false, 200}, {"y", false, 100}, {"\r", false, 300}};
}

static QByteArray all_bytes(const QVector<Step> &steps)
{
    QByteArray bytes;
    for (const Step &step : steps)
        bytes += step.bytes;
    return bytes;
}

static int duration_ms(const QVector<Step> &steps)
{
    int total = 0;
    for (const Step &step : steps)
        total += (step.by_character ? 20 * step.bytes.size() : 0) + step.pause_ms;
    return total;
}

// The shortest time allowed between each byte and the next one: 20 ms within
// a command, the character pause plus the step pause after its last
// character, the step pause after a whole write. The last entry is the time
// from the last byte to the end of the sequence.
static QVector<int> least_gaps(const QVector<Step> &steps)
{
    QVector<int> gaps;
    for (const Step &step : steps) {
        for (int i = 0; i < step.bytes.size(); ++i) {
            const bool last = i == step.bytes.size() - 1;
            const int character_pause = step.by_character ? 20 : 0;
            gaps.append(character_pause + (last ? step.pause_ms : 0));
        }
    }
    return gaps;
}

// The window with its port open on the slave side of a pseudo-terminal. The
// answerer goes first on destruction, the pseudo-terminal last.
struct Bench
{
    PtyPair pty;
    frmain window;
    ModalAnswerer answerer;

    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    bool open(const QString &path)
    {
        QLineEdit *port_edit = window.port_combobox->lineEdit();
        port_edit->clear();
        QTest::keyClicks(port_edit, path);
        QTest::mouseClick(window.open_button, Qt::LeftButton);
        return window.my_com->isOpen() && answerer.take_messages().isEmpty();
    }

    // Clicks the button and returns how long its slot ran.
    qint64 run(QPushButton *button)
    {
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(button, Qt::LeftButton);
        return clock.elapsed();
    }

    // Sends a measurement line and waits until the program has shown it.
    bool feed_line(const QString &speed)
    {
        if (!pty.write("$ " + speed.toLatin1() + " 15.000\r\n"))
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

    // Replaces the entry's text the way the operator would, with keys.
    void retype(QLineEdit *edit, const QString &text)
    {
        QTest::keyClick(edit, Qt::Key_End);
        while (!edit->text().isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
};

class TestConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void send_sequence_on_the_wire_data();
    void send_sequence_on_the_wire();
    void save_sequence_on_the_wire();
    void closed_port_sends_nothing();
    void second_click_ignored();
    void replies_shown_during_exchange();
    void simulator_replies_in_pane();

    void output_rate_check_data();
    void output_rate_check();
    void output_rate_cleared_or_set_by_code();

    void averaging_count_data();
    void averaging_count();
    void averaging_same_value_restarts_block();
    void averaging_one_follows_every_speed();

private:
    void check_timing(const QVector<Step> &steps, qint64 started, qint64 finished);

    // One window with an open port serves most checks; init() puts its
    // configuration area back to the defaults.
    Bench *bench = nullptr;
};

void TestConfig::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    bench = new Bench;
    QVERIFY(bench->pty.is_open());
    QVERIFY(bench->show());
    QVERIFY(bench->open(bench->pty.slave_path()));
}

void TestConfig::init()
{
    frmain &w = bench->window;
    w.machine_baud_combobox->setCurrentIndex(w.machine_baud_combobox->findText("9600"));
    w.temp_output_combobox->setCurrentIndex(0);
    w.outrate_lineedit->setText("8");
    w.send_config_button->setEnabled(true);
    bench->answerer.hold_ms = 0;
    bench->answerer.take_messages();
    QTest::qWait(20);
    bench->pty.clear_received();
}

void TestConfig::cleanupTestCase()
{
    delete bench;
}

// Each byte arrived on its own, no earlier after the one before than its
// table allows, and the sequence kept its last pause before returning.
void TestConfig::check_timing(const QVector<Step> &steps, qint64 started, qint64 finished)
{
    const QVector<int> gaps = least_gaps(steps);
    QVector<qint64> times;
    for (const PtyPair::Arrival &arrival : bench->pty.arrivals) {
        for (int i = 0; i < arrival.bytes.size(); ++i)
            times.append(arrival.msecs);
    }
    QCOMPARE(times.size(), gaps.size());

    const int tolerance = 5;
    QVERIFY(times.first() >= started);
    for (int i = 1; i < times.size(); ++i) {
        const qint64 gap = times.at(i) - times.at(i - 1);
        QVERIFY2(gap >= gaps.at(i - 1) - tolerance,
                 qPrintable(QString("byte %1 came %2 ms after the one before, expected %3 ms")
                                .arg(i)
                                .arg(gap)
                                .arg(gaps.at(i - 1))));
    }
    QVERIFY2(
        finished - times.last() >= gaps.last() - tolerance,
        qPrintable(QString("returned %1 ms after the last byte").arg(finished - times.last())));
}

void TestConfig::send_sequence_on_the_wire_data()
{
    QTest::addColumn<QString>("baud");
    QTest::addColumn<int>("temp_index");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QByteArray>("temp_word");

    QTest::newRow("defaults") << "9600" << 0 << "8" << QByteArray("enable");
    QTest::newRow("temperature off") << "9600" << 1 << "8" << QByteArray("disable");
    QTest::newRow("115200") << "115200" << 0 << "8" << QByteArray("enable");
    QTest::newRow("leading zero") << "9600" << 0 << "08" << QByteArray("enable");
}

void TestConfig::send_sequence_on_the_wire()
{
    QFETCH(QString, baud);
    QFETCH(int, temp_index);
    QFETCH(QString, rate);
    QFETCH(QByteArray, temp_word);

    frmain &w = bench->window;
    w.machine_baud_combobox->setCurrentIndex(w.machine_baud_combobox->findText(baud));
    QCOMPARE(w.machine_baud_combobox->currentText(), baud);
    w.temp_output_combobox->setCurrentIndex(temp_index);
    if (rate != w.outrate_lineedit->text())
        bench->retype(w.outrate_lineedit, rate);
    QVERIFY(w.send_config_button->isEnabled());
    bench->answerer.take_messages();
    const qint32 port_rate = w.my_com->baudRate();
    termios settings = bench->pty.slave_settings();
    const speed_t line_rate = cfgetospeed(&settings);

    bool configuring_midway = false;
    QTimer::singleShot(1000, [&] { configuring_midway = w.configuring; });
    const qint64 started = bench->pty.elapsed();
    const qint64 ran = bench->run(w.send_config_button);
    const qint64 finished = bench->pty.elapsed();

    const QVector<Step> steps = send_steps(baud.toLatin1(), rate.toLatin1(), temp_word);
    QCOMPARE(bench->pty.received(), all_bytes(steps));
    check_timing(steps, started, finished);
    QVERIFY2(ran >= duration_ms(steps) - 20, qPrintable(QString::number(ran)));
    QVERIFY2(ran < 4000, qPrintable(QString::number(ran)));
    QVERIFY(configuring_midway);
    QVERIFY(!w.configuring);

    // The command changes the instrument's rate, never the program's own.
    QCOMPARE(w.my_com->baudRate(), port_rate);
    settings = bench->pty.slave_settings();
    QCOMPARE(cfgetospeed(&settings), line_rate);
    QCOMPARE(w.outrate_lineedit->text(), rate);
    QVERIFY(bench->answerer.messages.isEmpty());
}

void TestConfig::save_sequence_on_the_wire()
{
    frmain &w = bench->window;
    bool configuring_midway = false;
    QTimer::singleShot(400, [&] { configuring_midway = w.configuring; });
    const qint64 started = bench->pty.elapsed();
    const qint64 ran = bench->run(w.save_config_button);
    const qint64 finished = bench->pty.elapsed();

    const QVector<Step> steps = save_steps();
    QCOMPARE(bench->pty.received(), QByteArray("done\ry\r"));
    check_timing(steps, started, finished);
    QVERIFY2(ran >= duration_ms(steps) - 20, qPrintable(QString::number(ran)));
    QVERIFY2(ran < 2500, qPrintable(QString::number(ran)));
    QVERIFY(configuring_midway);
    QVERIFY(!w.configuring);
    QVERIFY(bench->answerer.messages.isEmpty());
}

void TestConfig::closed_port_sends_nothing()
{
    // A window of its own whose port was never opened.
    Bench idle;
    QVERIFY(idle.show());
    QVERIFY(!idle.window.my_com->isOpen());

    bool configuring_midway = false;
    QTimer::singleShot(500, [&] { configuring_midway = idle.window.configuring; });
    const qint64 send_ran = idle.run(idle.window.send_config_button);
    QVERIFY(configuring_midway);
    QVERIFY(!idle.window.configuring);
    const qint64 save_ran = idle.run(idle.window.save_config_button);

    QVERIFY2(send_ran >= duration_ms(send_steps("9600", "8", "enable")) - 20,
             qPrintable(QString::number(send_ran)));
    QVERIFY2(send_ran < 4000, qPrintable(QString::number(send_ran)));
    QVERIFY2(save_ran >= duration_ms(save_steps()) - 20, qPrintable(QString::number(save_ran)));
    QVERIFY2(save_ran < 2500, qPrintable(QString::number(save_ran)));
    QVERIFY(idle.answerer.messages.isEmpty());
    QVERIFY(idle.window.status_textedit->toPlainText().isEmpty());
    // Nothing is left waiting to go out once a port is opened either.
    QCOMPARE(idle.window.my_com->bytesToWrite(), 0);
}

void TestConfig::second_click_ignored()
{
    frmain &w = bench->window;
    QTimer::singleShot(300, [&] { QTest::mouseClick(w.send_config_button, Qt::LeftButton); });
    QTimer::singleShot(700, [&] { QTest::mouseClick(w.save_config_button, Qt::LeftButton); });
    const qint64 send_ran = bench->run(w.send_config_button);
    const QByteArray sent = all_bytes(send_steps("9600", "8", "enable"));
    QCOMPARE(bench->pty.received(), sent);
    QVERIFY2(send_ran < 2 * duration_ms(send_steps("9600", "8", "enable")),
             qPrintable(QString::number(send_ran)));
    QVERIFY(!w.configuring);

    // And the other way round, the button the sequence was started with too.
    bench->pty.clear_received();
    QTimer::singleShot(200, [&] { QTest::mouseClick(w.send_config_button, Qt::LeftButton); });
    QTimer::singleShot(400, [&] { QTest::mouseClick(w.save_config_button, Qt::LeftButton); });
    const qint64 save_ran = bench->run(w.save_config_button);
    QCOMPARE(bench->pty.received(), QByteArray("done\ry\r"));
    QVERIFY2(save_ran < 2 * duration_ms(save_steps()), qPrintable(QString::number(save_ran)));
    QVERIFY(!w.configuring);

    // Once the exchange is over a click works again.
    bench->pty.clear_received();
    bench->run(w.save_config_button);
    QCOMPARE(bench->pty.received(), QByteArray("done\ry\r"));
    QVERIFY(bench->answerer.messages.isEmpty());
}

void TestConfig::replies_shown_during_exchange()
{
    frmain &w = bench->window;
    w.status_textedit->clear();
    QVERIFY(bench->feed_line("1480.000"));

    QTimer::singleShot(300, [&] { bench->pty.write("OK data rate 8\r\n"); });
    QTimer::singleShot(600, [&] { bench->pty.write("$ 1481.500 14.500\r\n"); });
    QTimer::singleShot(900, [&] { bench->pty.write("Save configuration? (y/n)"); });
    bench->run(w.send_config_button);
    QCOMPARE(w.speed_lineedit->text(), QString("1481.500"));

    // A reply after the exchange is not shown.
    QVERIFY(bench->pty.write("late reply\r\n"));
    QVERIFY(bench->feed_line("1482.000"));

    const QString pane = w.status_textedit->toPlainText();
    QVERIFY2(pane.contains("OK data rate 8"), qPrintable(pane));
    QVERIFY2(pane.contains("Save configuration? (y/n)"), qPrintable(pane));
    QCOMPARE(pane.count("$ 1481.500 14.500"), 2);
    QCOMPARE(pane.count("1480.000"), 1);
    QCOMPARE(pane.count("1482.000"), 1);
    QVERIFY2(!pane.contains("late reply"), qPrintable(pane));
}

void TestConfig::simulator_replies_in_pane()
{
#ifndef INSTRUMENT_SIM
    QSKIP("built without the simulator");
#else
    QProcess simulator;
    simulator.setProcessChannelMode(QProcess::SeparateChannels);
    simulator.start(INSTRUMENT_SIM, {"--rate", "2", "--seed", "7"});
    QVERIFY(simulator.waitForStarted(5000));
    QVERIFY(simulator.waitForReadyRead(5000));
    const QString path = QString::fromLocal8Bit(simulator.readLine()).trimmed();
    QVERIFY(!path.isEmpty());

    Bench sim;
    QVERIFY(sim.show());
    QVERIFY(sim.open(path));
    QTRY_VERIFY_WITH_TIMEOUT(sim.window.speed_lineedit->text() != "0000.000", 5000);

    sim.run(sim.window.send_config_button);
    sim.run(sim.window.save_config_button);
    const QString pane = sim.window.status_textedit->toPlainText();

    simulator.terminate();
    if (!simulator.waitForFinished(5000))
        simulator.kill();

    // Replies carry no "$", so only the echo of the exchange can show them.
    QVERIFY2(pane.contains("OK uart bps 9600"), qPrintable(pane));
    QVERIFY2(pane.contains("OK data rate 8"), qPrintable(pane));
    QVERIFY2(pane.contains("OK water temp enable"), qPrintable(pane));
    QVERIFY2(pane.contains("Save configuration? (y/n)"), qPrintable(pane));
    QVERIFY2(pane.contains("Configuration saved"), qPrintable(pane));
    QVERIFY2(!pane.contains("ERR"), qPrintable(pane));
    QVERIFY(sim.answerer.messages.isEmpty());
#endif
}

void TestConfig::output_rate_check_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("boxes"); // boxes so far after each key
    QTest::addColumn<bool>("enabled");

    QTest::newRow("30") << "30" << QList<int>{0, 0} << true;
    QTest::newRow("1") << "1" << QList<int>{0} << true;
    QTest::newRow("31") << "31" << QList<int>{0, 1} << false;
    QTest::newRow("0") << "0" << QList<int>{1} << false;
    QTest::newRow("-1") << "-1" << QList<int>{1, 2} << false;
    QTest::newRow("abc") << "abc" << QList<int>{1, 2, 3} << false;
    QTest::newRow("08") << "08" << QList<int>{1, 1} << true;
    QTest::newRow("300") << "300" << QList<int>{0, 0, 1} << false;
}

void TestConfig::output_rate_check()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, boxes);
    QFETCH(bool, enabled);

    frmain &w = bench->window;
    QLineEdit *edit = w.outrate_lineedit;
    bench->retype(edit, QString());
    QVERIFY(!w.send_config_button->isEnabled());

    for (int i = 0; i < typed.size(); ++i) {
        QTest::keyClick(edit, typed.at(i).toLatin1());
        QCOMPARE(bench->answerer.messages.size(), boxes.at(i));
    }
    QCOMPARE(edit->text(), typed);
    QCOMPARE(w.send_config_button->isEnabled(), enabled);
    for (const QString &message : bench->answerer.messages)
        QCOMPARE(message, QString(out_of_range));
}

void TestConfig::output_rate_cleared_or_set_by_code()
{
    frmain &w = bench->window;
    QLineEdit *edit = w.outrate_lineedit;
    QVERIFY(w.send_config_button->isEnabled());

    // Deleting the last character leaves the entry empty: off, no warning.
    bench->retype(edit, QString());
    QVERIFY(!w.send_config_button->isEnabled());
    QVERIFY(bench->answerer.messages.isEmpty());

    // Text set by the program itself is not checked, either way.
    edit->setText("12");
    QVERIFY(!w.send_config_button->isEnabled());
    bench->retype(edit, "12");
    QVERIFY(w.send_config_button->isEnabled());
    edit->setText("99");
    QVERIFY(w.send_config_button->isEnabled());
    edit->clear();
    QVERIFY(w.send_config_button->isEnabled());
    QVERIFY(bench->answerer.messages.isEmpty());
}

void TestConfig::averaging_count_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<uint>("points");

    QTest::newRow("10") << "10" << true << 10u;
    QTest::newRow("1") << "1" << true << 1u;
    QTest::newRow("1000") << "1000" << true << 1000u;
    QTest::newRow("08") << "08" << true << 8u;
    QTest::newRow("0") << "0" << false << 0u;
    QTest::newRow("-3") << "-3" << false << 0u;
    QTest::newRow("abc") << "abc" << false << 0u;
    QTest::newRow("2.5") << "2.5" << false << 0u;
    QTest::newRow("empty") << "" << false << 0u;
}

void TestConfig::averaging_count()
{
    QFETCH(QString, entry);
    QFETCH(bool, accepted);
    QFETCH(uint, points);

    frmain &w = bench->window;
    // A count in force other than the start value, and a block in progress.
    bench->retype(w.avg_lineedit, "7");
    QTest::mouseClick(w.avg_button, Qt::LeftButton);
    QCOMPARE(w.avg_points, 7u);
    QVERIFY(bench->feed_line("1500.000"));
    QVERIFY(bench->feed_line("1502.000"));
    QCOMPARE(w.avg_count, 2u);
    QCOMPARE(w.avg_sum, 3002.0);
    bench->answerer.take_messages();

    bench->retype(w.avg_lineedit, entry);
    QTest::mouseClick(w.avg_button, Qt::LeftButton);

    if (accepted) {
        QCOMPARE(bench->answerer.messages, QStringList{avg_accepted});
        QCOMPARE(w.avg_points, points);
        QCOMPARE(w.avg_count, 0u);
        QCOMPARE(w.avg_sum, 0.0);
        QCOMPARE(w.avg_lineedit->text(), entry);
    } else {
        QCOMPARE(bench->answerer.messages, QStringList{avg_refused});
        QCOMPARE(w.avg_points, 7u);
        QCOMPARE(w.avg_count, 2u);
        QCOMPARE(w.avg_sum, 3002.0);
        QCOMPARE(w.avg_lineedit->text(), QString("7"));
    }
    QVERIFY(!w.status_textedit->toPlainText().contains(avg_accepted));
    QVERIFY(bench->pty.received().isEmpty());
}

void TestConfig::averaging_same_value_restarts_block()
{
    frmain &w = bench->window;
    bench->retype(w.avg_lineedit, "3");
    QTest::mouseClick(w.avg_button, Qt::LeftButton);
    QVERIFY(bench->feed_line("1400.000"));
    QVERIFY(bench->feed_line("1410.000"));
    const QString shown = w.avg_speed_lineedit->text();

    // The same count again drops the two values of the block in progress.
    QTest::mouseClick(w.avg_button, Qt::LeftButton);
    QCOMPARE(bench->answerer.messages, (QStringList{avg_accepted, avg_accepted}));
    QCOMPARE(w.avg_count, 0u);
    QCOMPARE(w.avg_sum, 0.0);

    QVERIFY(bench->feed_line("1500.000"));
    QCOMPARE(w.avg_speed_lineedit->text(), shown);
    QVERIFY(bench->feed_line("1501.000"));
    QCOMPARE(w.avg_speed_lineedit->text(), shown);
    QVERIFY(bench->feed_line("1505.000"));
    QCOMPARE(w.avg_speed_lineedit->text(), QString("1502"));
}

void TestConfig::averaging_one_follows_every_speed()
{
    frmain &w = bench->window;
    bench->retype(w.avg_lineedit, "1");
    QTest::mouseClick(w.avg_button, Qt::LeftButton);
    QCOMPARE(bench->answerer.messages, QStringList{avg_accepted});

    const QStringList speeds = {"1490.125", "1491.250", "1489.000", "1500.500"};
    for (const QString &speed : speeds) {
        QVERIFY(bench->feed_line(speed));
        QCOMPARE(w.avg_speed_lineedit->text(), speed);
    }
}

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
