// The window on a pseudo-terminal, as an operator uses it: the port, the
// readings on the displays, recording, configuration and the simulator.

#include "alarmmonitor.h"
#include "onscreen.h"
#include "outputconfig.h"
#include "outputhub.h"
#include "outputs/output_test_support.h"
#include "portcombobox.h"
#include "portsession.h"
#include "soundspeed.h"
#include "statuspane.h"
#include "trendmodel.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>
#include <QTranslator>
#include <QUdpSocket>
#include <QtTest>

#include <csignal>
#include <ctime>
#include <sys/resource.h>
#include <termios.h>

static QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether any pixel of the widget on the screen is the displays' bright red.
static bool shows_red(QWidget *widget)
{
    const QImage image = on_screen(widget);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                return true;
        }
    return false;
}

// The switch is drawn, not styled: no style sheet is parsed for it.
static int unknown_properties = 0;
static void count_unknown_properties(QtMsgType, const QMessageLogContext &, const QString &text)
{
    unknown_properties += text.contains("Unknown property");
}

class TestWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void line_settings_data()
    {
        QTest::addColumn<int>("baud_index");
        QTest::addColumn<int>("bits_index");
        QTest::addColumn<int>("parity_index");
        QTest::addColumn<int>("stop_index");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("cflags"); // CSIZE, PARODD, CMSPAR, CSTOPB
        QTest::newRow("defaults 9600 8N1") << 2 << 3 << 0 << 0 << int(B9600) << int(CS8);
        // A pseudo-terminal takes only 8 data bits and no parity enable.
        QTest::newRow("38400 8 odd 2")
            << 4 << 3 << 1 << 2 << int(B38400) << int(CS8 | PARODD | CSTOPB);
        QTest::newRow("115200 8 mark 1")
            << 6 << 3 << 3 << 0 << int(B115200) << int(CS8 | PARODD | CMSPAR);
    }

    void line_settings()
    {
        QFETCH(int, baud_index);
        QFETCH(int, bits_index);
        QFETCH(int, parity_index);
        QFETCH(int, stop_index);
        QFETCH(int, speed);
        QFETCH(int, cflags);
        WindowOnPty w;
        w.window.baud_combobox->setCurrentIndex(baud_index);
        w.window.databits_combobox->setCurrentIndex(bits_index);
        w.window.parity_combobox->setCurrentIndex(parity_index);
        w.window.stopbits_combobox->setCurrentIndex(stop_index);
        QVERIFY(w.open());
        const termios settings = w.pty.slave_settings();
        QCOMPARE(int(cfgetospeed(&settings)), speed);
        QCOMPARE(int(settings.c_cflag & (CSIZE | PARODD | CMSPAR | CSTOPB)), cflags);
    }

    void open_close_and_reasons()
    {
        WindowOnPty w;
        QVERIFY(!w.open("/dev/ttyNOTHERE"));
        QVERIFY(w.answerer.wait_for_messages(1));
        QVERIFY(w.answerer.messages.at(0).startsWith("\n串口打开失败\n找不到该串口"));
        QVERIFY(w.window.port_combobox->isEnabled());

        // The click leaves the instrument its second.
        w.answerer.take_messages();
        w.window.open_settle_ms = 1000;
        QElapsedTimer opening;
        opening.start();
        QVERIFY(w.open());
        QVERIFY2(opening.elapsed() >= 1000, qPrintable(QString::number(opening.elapsed())));
        QVERIFY(!w.window.baud_combobox->isEnabled());
        QVERIFY(w.answerer.messages.isEmpty());
        QTest::mouseClick(w.window.open_button, Qt::LeftButton);
        QVERIFY(!w.window.my_com->isOpen());
        QCOMPARE(w.answerer.take_messages(), QStringList{"串口关闭成功！"});
        QVERIFY(w.window.baud_combobox->isEnabled());
    }

    // Damaged lines do not reach the displays; a burst ends with the screen as
    // line-by-line handling would have left it.
    void readings_and_bursts()
    {
        WindowOnPty w;
        w.window.avg_lineedit->setText("3");
        QTest::mouseClick(w.window.avg_button, Qt::LeftButton);
        QVERIFY(w.open());
        QVERIFY(w.feed("$1503.000 15.000\r\n", "1503.000"));
        QTRY_VERIFY(shows_red(w.window.speed_lineedit));
        QVERIFY(w.feed("$ 15$ 1501.000\r\n$ hello 1.0\r\n$ nan 2.0\r\n$ 1502.000 16.5\r\n",
                       "1502.000"));
        QCOMPARE(w.window.temp_lineedit->text(), QString("16.5\r\n"));
        QCOMPARE(w.window.avg_speed_lineedit->text(), QString("1502"));
        QTRY_VERIFY(w.window.status_textedit->toPlainText().contains("$ hello 1.0"));

        QByteArray burst;
        for (int i = 0; i < 20000; ++i)
            burst += QByteArray("$ ") + QByteArray::number(1400 + i % 200) + ".000 "
                + QByteArray::number(i) + "\r\n";
        QVERIFY(w.pty.write(burst));
        QTRY_COMPARE_WITH_TIMEOUT(w.window.temp_lineedit->text(), QString("19999\r\n"), 10000);
        QCOMPARE(w.window.speed_lineedit->text(), QString("1599.000"));
        // Drawn, not only set (and before the values go stale and grey), and the
        // pane's scroll bar shows where the pane is.
        for (QWidget *shown :
             std::initializer_list<QWidget *>{w.window.speed_lineedit, w.window.temp_lineedit,
                                              w.window.status_textedit->verticalScrollBar()})
            QTRY_COMPARE_WITH_TIMEOUT(on_screen(shown), drawn_now(shown), 1000);
        // 20000 values after the first block: the last full one is 1595, 1596, 1597.
        QCOMPARE(w.window.avg_speed_lineedit->text(), QString("1596"));
        QTRY_VERIFY(w.window.status_textedit->toPlainText().endsWith("$ 1599.000 19999\n"));
        const QStringList pane = w.window.status_textedit->toPlainText().split('\n');
        QVERIFY(pane.size() <= pane_most(status_pane_keep) + 1);
    }

    void stale_values_turn_grey()
    {
        const QtMessageHandler previous = qInstallMessageHandler(count_unknown_properties);
        WindowOnPty w;
        QVERIFY(w.open());
        QVERIFY(w.feed_line("1500.000"));
        QElapsedTimer since;
        since.start();
        QTRY_VERIFY(shows_red(w.window.speed_lineedit));
        QTest::qWait(2500);
        // Still red before the 3 s are up, unless a loaded machine overslept.
        QVERIFY(shows_red(w.window.speed_lineedit) || since.elapsed() >= 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!shows_red(w.window.temp_lineedit), 5000);
        QVERIFY(w.feed_line("1501.000"));
        QTRY_VERIFY(shows_red(w.window.temp_lineedit));
        qInstallMessageHandler(previous);
        QCOMPARE(unknown_properties, 0);
    }

    // Each command character alone on the line, 20 ms apart; the output rate
    // as the number the check accepted.
    void configuration_on_the_wire()
    {
        WindowOnPty w;
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(w.window.save_config_button, Qt::LeftButton);
        QCOMPARE(w.answerer.take_messages(), QStringList{"\n串口未打开\n请先打开串口！\n"});
        QVERIFY(clock.elapsed() < 1000);

        QVERIFY(w.open());
        w.window.outrate_lineedit->setText("08");
        QTest::mouseClick(w.window.send_config_button, Qt::LeftButton);
        const QByteArray expected = "\ruart bps 9600\rdata rate 8\rwater temp enable\r";
        QVERIFY(w.pty.wait_for_bytes(expected.size()));
        QCOMPARE(w.pty.received(), expected);
        // The exact 20 ms is the player's, checked on its own clock. The wire
        // only has to show characters apart: a reader held up on a loaded
        // machine takes one late and the next early, so a few short gaps are
        // noise; characters back to back would make most of them short.
        QVERIFY(w.pty.arrivals.size() >= expected.size() - 2);
        int short_gaps = 0;
        for (int i = 2; i < w.pty.arrivals.size(); ++i) {
            const qint64 gap = w.pty.arrivals.at(i).msecs - w.pty.arrivals.at(i - 1).msecs;
            short_gaps += gap < 10;
            QVERIFY2(gap < 400, qPrintable(QString::number(gap)));
        }
        QVERIFY2(short_gaps <= 3, qPrintable(QString::number(short_gaps)));
    }

    void sleep_serves_events_cheaply()
    {
        WindowOnPty w;
        QVERIFY(w.open());
        QTimer::singleShot(100, [&] { w.pty.write("$ 1510.000 15.000\r\n"); });
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpu = std::clock();
        w.window.Sleep(300);
        const double cpu_ms = (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
        QVERIFY(clock.elapsed() >= 300 && clock.elapsed() < 1200);
        QCOMPARE(w.window.speed_lineedit->text(), QString("1510.000"));
        QVERIFY2(cpu_ms < 30, qPrintable(QString::number(cpu_ms)));
    }

    // The raw file byte for byte, what came during a configuration exchange
    // included, and a CSV row for every valid line.
    void recording_and_log()
    {
        WindowOnPty w;
        QVERIFY(w.open());
        const QString path = dir.filePath("survey.txt");
        QVERIFY(w.record(path));

        const QByteArray before("$ 1500.000 15.000\r\njunk\0$ 1501.0", 32);
        QVERIFY(w.feed(before, "1500.000"));
        QVERIFY(w.feed("00 15.100\r\n$ bad\r\n", "1501.000"));
        QTimer::singleShot(300, [&] { w.pty.write("$ 1502.000 15.200\r\nOK\r\n"); });
        QTest::mouseClick(w.window.save_config_button, Qt::LeftButton);
        QVERIFY(w.feed("$ 1503.000 15.300\r\n", "1503.000"));
        // The replies stay readable after the exchange, however fast lines come.
        auto *last = w.window.findChild<QPushButton *>("last_exchange");
        QVERIFY(last && last->isVisible());
        QTest::mouseClick(last, Qt::LeftButton);
        QMessageBox *replies = w.window.findChild<QMessageBox *>();
        QVERIFY(replies && replies->isVisible() && replies->text().contains("OK\r\n"));
        replies->close();
        QTest::mouseClick(w.window.save_data_button, Qt::LeftButton);
        QVERIFY(!w.window.data_file->isOpen());

        const QByteArray raw = contents(path);
        QCOMPARE(raw.mid(21, raw.size() - 42),
                 before + "00 15.100\r\n$ bad\r\n$ 1502.000 15.200\r\nOK\r\n$ 1503.000 15.300\r\n");
        QTRY_VERIFY(w.window.status_textedit->toPlainText().contains("survey.csv"));

        QProcess reader;
        reader.start("python3",
                     {"-c",
                      "import csv,sys\nfor r in csv.DictReader(open(sys.argv[1])): "
                      "print(r['speed_m_s'] or r['event'])",
                      dir.filePath("survey.csv")});
        QVERIFY(reader.waitForFinished(10000));
        QCOMPARE(QString(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 QStringList({"1500.000", "1501.000", "config_start", "1502.000", "config_end",
                              "1503.000"}));
    }

    // A disk that stops taking data: both files stop, one box says so.
    void write_failure_stops_both_files()
    {
        WindowOnPty w;
        QVERIFY(w.open());
        QVERIFY(w.record(dir.filePath("full.txt")));
        w.answerer.take_messages();
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit, small = {2000, RLIM_INFINITY};
        getrlimit(RLIMIT_FSIZE, &limit);
        setrlimit(RLIMIT_FSIZE, &small);
        for (int i = 0; i < 150 && w.answerer.messages.isEmpty(); i += 10) {
            QByteArray lines;
            for (int n = i; n < i + 10; ++n)
                lines += "$ " + QByteArray::number(1400 + n) + ".000 15.000\r\n";
            QVERIFY(w.feed(lines, QString::number(1409 + i) + ".000"));
        }
        QVERIFY(w.answerer.wait_for_messages(1));
        setrlimit(RLIMIT_FSIZE, &limit);
        QCOMPARE(w.answerer.messages,
                 QStringList{"\n数据写入失败\n已停止保存，请检查磁盘空间和设备！\n"});
        QVERIFY(!w.window.data_file->isOpen());
        const qint64 size = contents(dir.filePath("full.txt")).size();
        QVERIFY(w.feed_line("1600.000"));
        QCOMPARE(contents(dir.filePath("full.txt")).size(), size);
    }

    // The device goes during a configuration: the rest is not sent, the pane and
    // the log say so. The notice of the loss leaves the window usable and goes
    // when the device is back; the recording takes what comes then.
    void loss_ends_configuration()
    {
        WindowOnPty w;
        QVERIFY(w.open());
        const QString path = dir.filePath("cut.txt");
        QVERIFY(w.record(path));
        w.window.findChild<PortSession *>()->set_retry_ms(200);
        QSerialPort *port = w.window.my_com;
        QTimer::singleShot(150, [port] { emit port->errorOccurred(QSerialPort::ResourceError); });
        QTest::mouseClick(w.window.send_config_button, Qt::LeftButton);
        QMessageBox *notice = w.window.findChild<QMessageBox *>("loss_notice");
        QVERIFY(notice && notice->isVisible() && !notice->isModal());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(QTest::qWaitFor([&] { return port->isOpen(); }, 10000));
        QTRY_VERIFY(!w.window.findChild<QMessageBox *>("loss_notice"));
        QVERIFY(w.feed_line("1510.000"));

        const QByteArray sent = w.pty.received();
        QVERIFY(!sent.isEmpty() && sent.size() < 20);
        QTest::qWait(300);
        QCOMPARE(w.pty.received(), sent);
        QVERIFY(w.window.status_textedit->toPlainText().contains("配置未完成"));
        QTest::mouseClick(w.window.save_data_button, Qt::LeftButton);
        const QByteArray log = contents(dir.filePath("cut.csv"));
        const int start = log.indexOf(",config_start,"), lost = log.indexOf(",port_lost,"),
                  end = log.indexOf(",config_end,"), back = log.indexOf(",port_back,");
        QVERIFY2(start > 0 && start < lost && lost < end && end < back, log.constData());
        // The loss is an alarm too, on and off in the log.
        QVERIFY(log.indexOf(",alarm_on:device_lost,") > lost);
        QVERIFY(log.indexOf(",alarm_off:device_lost,") > back);
    }

    // Good readings go on to a UDP listener and a serial port while the file
    // dialog is open; a spike does not. The recording starts with what came
    // meanwhile, and each CSV row says how many outputs sent it.
    void outputs_forward_while_choosing_a_file()
    {
        WindowOnPty w;
        PtyPair sonar;
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress(QHostAddress::LocalHost), 0));
        w.window.station()->outputs()->add(
            parsed(QString("udp:127.0.0.1:%1").arg(listener.localPort())));
        w.window.station()->outputs()->add(parsed("serial:" + sonar.slave_path() + ":9600:svt"));
        QVERIFY(w.open());
        QVERIFY(w.feed("$ 1500.004 15.0\r\n$ 1500.005 15.0\r\n$ 1500.006 15.0\r\n", "1500.006"));

        const QString path = dir.filePath("forwarded.txt");
        w.answerer.hold_ms = 800;
        w.answerer.answer_file_dialog(path);
        QString shown_meanwhile;
        QTimer::singleShot(200, [&] { w.pty.write("$ 1500.125 -1.5\r\n"); });
        QTimer::singleShot(600, [&] { shown_meanwhile = w.window.speed_lineedit->text(); });
        QTest::mouseClick(w.window.save_data_button, Qt::LeftButton);
        w.answerer.hold_ms = 0;
        QCOMPARE(shown_meanwhile, QString("1500.125"));
        QVERIFY(w.feed("$ 1530.000 15.0\r\n$ 1500.130 15.0\r\n", "1500.130"));
        QTest::mouseClick(w.window.save_data_button, Qt::LeftButton);

        QByteArray datagrams;
        QTRY_VERIFY(listener.hasPendingDatagrams());
        while (listener.hasPendingDatagrams() || listener.waitForReadyRead(300))
            datagrams += listener.receiveDatagram().data();
        QCOMPARE(datagrams,
                 QByteArray(" 1500.00\r\n 1500.01\r\n 1500.01\r\n 1500.13\r\n 1500.13\r\n"));
        // A serial sonar still busy with one sentence gets only the newest next.
        QTRY_VERIFY(sonar.received().endsWith(" 1500.130 15.000\r\n"));
        QVERIFY2(sonar.received().contains(" 1500.125 -1.500\r\n"), sonar.received().constData());
        QVERIFY(!sonar.received().contains("1530"));
        const QByteArray raw = contents(path);
        QVERIFY(raw.indexOf("$ 1500.125 -1.5") > 0 && raw.indexOf("$ 1500.006") < 0);
        const QByteArray log = contents(dir.filePath("forwarded.csv"));
        QVERIFY2(log.contains(",1530.000,15.0,") && log.contains(",spike,,0,")
                     && log.contains(",1500.130,15.0,") && log.contains(",ok,,2,"),
                 log.constData());
    }

    // Looking up the system's ports again keeps what the operator typed.
    void port_list_keeps_typed_path()
    {
        frmain window;
        auto *ports = static_cast<PortComboBox *>(window.port_combobox);
        ports->setEditText("/dev/ttyTYPED0");
        ports->refresh_ports();
        const int count = ports->count();
        ports->refresh_ports();
        QCOMPARE(ports->count(), count);
        QCOMPARE(ports->currentText(), QString("/dev/ttyTYPED0"));
        QCOMPARE(ports->itemText(0), QString("COM1"));
    }

    // The simulator leaves and comes back on the same path: one box, the session
    // and the recording go on, the log marks the gap.
    void reconnects_and_keeps_recording()
    {
        // Twice it hangs up after half a second and comes back on the same path.
        const QString link = dir.filePath("instrument");
        const QStringList args{"--link", link, "--rate", "60", "--salinity", "35", "--depth", "0"};
        QProcess sim;
        sim.start("sh",
                  QStringList{"-c",
                              "\"$0\" \"$@\" --hangup-after 30; \"$0\" \"$@\" --hangup-after 30;"
                              " exec \"$0\" \"$@\"",
                              INSTRUMENT_SIM}
                      + args);
        QVERIFY(sim.waitForReadyRead(5000));
        WindowOnPty w;
        QVERIFY(w.open(link));
        QVERIFY(w.record(dir.filePath("night.txt")));

        QTRY_COMPARE_WITH_TIMEOUT(w.window.status_textedit->toPlainText().count("串口已重新连接"),
                                  2, 20000);
        // The notice was never modal and has closed by itself.
        QCOMPARE(w.answerer.take_messages(), QStringList());
        QTRY_VERIFY(!w.window.findChild<QMessageBox *>("loss_notice"));
        QVERIFY(w.window.my_com->isOpen());
        QVERIFY(!w.window.port_combobox->isEnabled());
        const qint64 size = contents(dir.filePath("night.txt")).size();
        QTRY_VERIFY(contents(dir.filePath("night.txt")).size() > size + 100);

        // The simulator's water: S = 35 at the surface, by Mackenzie's equation.
        const TrendSample last = w.window.findChild<TrendModel *>()->buffer().last();
        QVERIFY(qAbs(last.speed - mackenzie_speed(last.temperature, 35, 0)) < 0.01);
        QVERIFY(
            qAbs(implied_salinity(SoundEquation::mackenzie, last.speed, last.temperature, 0) - 35)
            < 0.05);

        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
        QTRY_VERIFY(!w.window.my_com->isOpen());
        QTRY_VERIFY(w.window.findChild<QMessageBox *>("loss_notice"));
        QTest::mouseClick(w.window.open_button, Qt::LeftButton);
        QVERIFY(w.window.port_combobox->isEnabled());
        QVERIFY(w.answerer.wait_for_messages(1));
        QCOMPARE(w.answerer.messages.last(), QString("串口关闭成功！"));
        QTRY_VERIFY(!w.window.findChild<QMessageBox *>("loss_notice"));
        QVERIFY(w.window.station()->alarms()->active().isEmpty()); // closed on purpose: no alarm
        QTest::mouseClick(w.window.save_data_button, Qt::LeftButton);

        const QString log = contents(dir.filePath("night.csv"));
        QCOMPARE(log.count(",port_lost,"), 3);
        QCOMPARE(log.count(",port_back,"), 2);
        QVERIFY(log.indexOf(",ok,,", log.lastIndexOf("port_back")) > 0);
    }

    void translated_buttons()
    {
        QTranslator translator;
        QVERIFY(translator.load(":/new/prefix1/qt_zh_CN.qm"));
        qApp->installTranslator(&translator);
        ModalAnswerer answerer;
        show_message("x");
        QCOMPARE(answerer.button_texts, QStringList{"确定"});
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
