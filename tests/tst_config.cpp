// Configuring the instrument: what reaches the line and when, read at a
// pseudo-terminal master; the output-rate check; the averaging count.

#include "frmain.h"
#include "modalanswerer.h"
#include "ptypair.h"
#include "waits.h"

#include <QComboBox>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <numeric>
#include <termios.h>

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

// The bytes of a sequence and the least time after each of them: 20 ms after
// a character sent on its own, plus the step's pause after its last byte.
struct Plan
{
    QByteArray bytes;
    QVector<int> gaps;
};

static Plan plan(const QVector<Step> &steps)
{
    Plan plan;
    for (const Step &step : steps) {
        for (int i = 0; i < step.bytes.size(); ++i) {
            const bool last = i == step.bytes.size() - 1;
            plan.bytes += step.bytes.at(i);
            plan.gaps.append((step.by_character ? 20 : 0) + (last ? step.pause_ms : 0));
        }
    }
    return plan;
}

// The window with its port open on the slave side of a pseudo-terminal. The
// answerer goes first on destruction, the pseudo-terminal last.
struct Bench
{
    PtyPair pty;
    frmain window;
    ModalAnswerer answerer;

    bool open(const QString &path)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.port_combobox->setEditText(path);
        QTest::mouseClick(window.open_button, Qt::LeftButton);
        return window.my_com->isOpen() && answerer.take_messages().isEmpty();
    }
    bool feed(const QString &speed) { return feed_line(pty, window.speed_lineedit, speed); }
};

class TestConfig : public QObject
{
    Q_OBJECT

    // One window serves every check but the simulator's; init() opens its
    // port and puts its configuration area back to the defaults.
    Bench bench;
    frmain &w = bench.window;

private slots:
    void init()
    {
        if (!w.my_com->isOpen())
            QVERIFY(bench.open(bench.pty.slave_path()));
        w.machine_baud_combobox->setCurrentText("9600");
        w.temp_output_combobox->setCurrentIndex(0);
        w.outrate_lineedit->setText("8");
        bench.answerer.take_messages();
        QTest::qWait(20);
        bench.pty.clear_received();
    }

    void sequence_on_the_wire_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("port_open");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<int>("temp_index"); // 0 "enable", 1 "disable"
        QTest::addColumn<QString>("rate");

        QTest::newRow("defaults") << false << true << "9600" << 0 << "8";
        QTest::newRow("temperature off") << false << true << "9600" << 1 << "8";
        QTest::newRow("115200") << false << true << "115200" << 0 << "8";
        QTest::newRow("leading zero") << false << true << "9600" << 0 << "08";
        QTest::newRow("save") << true << true << "9600" << 0 << "8";
        QTest::newRow("send, port closed") << false << false << "9600" << 0 << "8";
        QTest::newRow("save, port closed") << true << false << "9600" << 0 << "8";
    }

    // The exact bytes, each on its own and no sooner after the one before than
    // the tables allow, and the full duration even with the port closed.
    void sequence_on_the_wire()
    {
        QFETCH(bool, save);
        QFETCH(bool, port_open);
        QFETCH(QString, baud);
        QFETCH(int, temp_index);
        QFETCH(QString, rate);

        w.machine_baud_combobox->setCurrentText(baud);
        w.temp_output_combobox->setCurrentIndex(temp_index);
        w.outrate_lineedit->setText(rate);
        if (!port_open)
            QTest::mouseClick(w.open_button, Qt::LeftButton);
        bench.answerer.take_messages();
        const QString pane = w.status_textedit->toPlainText();
        termios settings = bench.pty.slave_settings();
        const speed_t line_rate = cfgetospeed(&settings);

        const QByteArray temp = temp_index == 0 ? "enable" : "disable";
        const Plan expected
            = plan(save ? save_steps() : send_steps(baud.toLatin1(), rate.toLatin1(), temp));
        const qint64 started = bench.pty.elapsed();
        QTest::mouseClick(save ? w.save_config_button : w.send_config_button, Qt::LeftButton);
        const qint64 finished = bench.pty.elapsed();
        // The whole sequence takes at least the sum of its pauses.
        const int total = std::accumulate(expected.gaps.begin(), expected.gaps.end(), 0);
        const qint64 ran = finished - started;
        QVERIFY2(ran >= total - 20 && ran < total + 2000, qPrintable(QString::number(ran)));
        QVERIFY(bench.answerer.messages.isEmpty());
        QCOMPARE(w.status_textedit->toPlainText(), pane);
        if (!port_open) {
            // Nothing was left waiting to go out once the port opens again.
            QVERIFY(bench.open(bench.pty.slave_path()));
            QTest::qWait(100);
            QCOMPARE(bench.pty.received(), QByteArray());
            return;
        }

        QCOMPARE(bench.pty.received(), expected.bytes);
        QVector<qint64> times;
        for (const PtyPair::Arrival &arrival : bench.pty.arrivals)
            times.insert(times.size(), arrival.bytes.size(), arrival.msecs);
        times.append(finished);
        QVERIFY(times.first() >= started);
        for (int i = 1; i < times.size(); ++i)
            QVERIFY2(times.at(i) - times.at(i - 1) >= expected.gaps.at(i - 1) - 5,
                     qPrintable(QString("too soon after byte %1").arg(i - 1)));

        // The command changes the instrument's rate, never the program's own.
        settings = bench.pty.slave_settings();
        QCOMPARE(cfgetospeed(&settings), line_rate);
    }

    // A click on either button while an exchange runs is ignored.
    void second_click_ignored()
    {
        QPushButton *buttons[] = {w.send_config_button, w.save_config_button};
        const QByteArray sent[] = {plan(send_steps("9600", "8", "enable")).bytes, "done\ry\r"};
        for (int i = 0; i < 2; ++i) {
            bench.pty.clear_received();
            QTimer::singleShot(200, [&] { QTest::mouseClick(buttons[0], Qt::LeftButton); });
            QTimer::singleShot(500, [&] { QTest::mouseClick(buttons[1], Qt::LeftButton); });
            QTest::mouseClick(buttons[i], Qt::LeftButton);
            QCOMPARE(bench.pty.received(), sent[i]);
        }
        QVERIFY(bench.answerer.messages.isEmpty());
    }

    void simulator_replies_in_pane()
    {
        QProcess simulator;
        simulator.start(INSTRUMENT_SIM, {"--rate", "2", "--seed", "7"});
        QVERIFY(simulator.waitForReadyRead(5000));
        Bench sim;
        QVERIFY(sim.open(QString::fromLocal8Bit(simulator.readLine()).trimmed()));
        QTest::mouseClick(sim.window.send_config_button, Qt::LeftButton);
        QTest::mouseClick(sim.window.save_config_button, Qt::LeftButton);
        const QString pane = sim.window.status_textedit->toPlainText();
        simulator.terminate();
        simulator.waitForFinished(5000);

        // Replies carry no "$", so only the echo of the exchange can show them.
        for (const char *reply : {"OK uart bps 9600", "OK data rate 8", "OK water temp enable",
                                  "Save configuration? (y/n)", "Configuration saved"})
            QVERIFY2(pane.contains(reply), qPrintable(pane));
        QVERIFY2(!pane.contains("ERR"), qPrintable(pane));
    }

    void output_rate_check_data()
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
    }

    // Each edit runs the check; clearing disables without a warning; text
    // set by the program itself is not checked.
    void output_rate_check()
    {
        QFETCH(QString, typed);
        QFETCH(QList<int>, boxes);
        QFETCH(bool, enabled);

        QLineEdit *edit = w.outrate_lineedit;
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QVERIFY(!w.send_config_button->isEnabled());
        QVERIFY(bench.answerer.messages.isEmpty());

        for (int i = 0; i < typed.size(); ++i) {
            QTest::keyClick(edit, typed.at(i).toLatin1());
            QCOMPARE(bench.answerer.messages.size(), boxes.at(i));
        }
        QCOMPARE(w.send_config_button->isEnabled(), enabled);
        for (const char *text : {"99", "12", ""})
            edit->setText(text);
        QCOMPARE(w.send_config_button->isEnabled(), enabled);
        QCOMPARE(bench.answerer.messages.count("\n数值不在范围内!\n请输入(1~30)范围的数字\n"),
                 boxes.last());
    }

    void averaging_count_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<uint>("points"); // 0: refused

        QTest::newRow("10") << "10" << 10u;
        QTest::newRow("1") << "1" << 1u;
        QTest::newRow("1000") << "1000" << 1000u;
        QTest::newRow("08") << "08" << 8u;
        QTest::newRow("same value") << "7" << 7u;
        for (const char *refused : {"0", "-3", "abc", "2.5", ""})
            QTest::newRow(*refused ? refused : "empty") << refused << 0u;
    }

    // Accepted: the block in progress restarts. Refused: the count in force
    // and its block stay.
    void averaging_count()
    {
        QFETCH(QString, entry);
        QFETCH(uint, points);

        w.avg_lineedit->setText("7");
        QTest::mouseClick(w.avg_button, Qt::LeftButton);
        QVERIFY(bench.feed("1500.000"));
        QVERIFY(bench.feed("1502.000"));
        bench.answerer.take_messages();

        w.avg_lineedit->setText(entry);
        QTest::mouseClick(w.avg_button, Qt::LeftButton);
        const bool accepted = points > 0;
        QCOMPARE(bench.answerer.messages,
                 QStringList{accepted ? "设置成功！" : "数值必须为大于0的整数！"});
        QCOMPARE(w.avg_points, accepted ? points : 7u);
        QCOMPARE(w.avg_count, accepted ? 0u : 2u);
        QCOMPARE(w.avg_sum, accepted ? 0.0 : 3002.0);
        QCOMPARE(w.avg_lineedit->text(), accepted ? entry : QString("7"));
    }

    void averaging_one_follows_every_speed()
    {
        w.avg_lineedit->setText("1");
        QTest::mouseClick(w.avg_button, Qt::LeftButton);
        for (const char *speed : {"1490.125", "1491.250", "1489.000", "1500.500"}) {
            QVERIFY(bench.feed(speed));
            QCOMPARE(w.avg_speed_lineedit->text(), QString(speed));
        }
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
