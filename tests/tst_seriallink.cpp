#include "frmain.h"
#include "modalanswerer.h"
#include "ptypair.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <ctime>
#include <memory>
#include <termios.h>

static const QString closed_text = QStringLiteral("打开串口");
static const QString open_text = QStringLiteral("关闭串口");
static const QString idle = QStringLiteral("0000.000");

// The share of one core the process used while wait() ran.
template<typename Wait> static double cpu_share(Wait wait)
{
    const std::clock_t cpu_before = std::clock();
    QElapsedTimer clock;
    clock.start();
    wait();
    const double cpu_ms = (std::clock() - cpu_before) * 1000.0 / CLOCKS_PER_SEC;
    return cpu_ms / qMax<qint64>(1, clock.elapsed());
}

// Every measurement line ends in "\r\n", one paragraph break in the pane.
static QStringList pane_lines(const QTextEdit *pane)
{
    return pane->toPlainText().split('\n', Qt::SkipEmptyParts);
}

class tst_SerialLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<QSerialPort::SerialPortError>(); }
    void init();
    void cleanup();

    void line_settings_data();
    void line_settings();
    void open_and_close();
    void nothing_read_during_first_second();
    void measurement_stream();
    void sleep_timing_and_cpu();
    void sleep_serves_events();
    void paced_sending();
    void device_vanishes();

private:
    bool open_port(const QString &path);
    bool close_port();
    bool shows_port(bool open) const;

    std::unique_ptr<ModalAnswerer> answerer;
    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<frmain> window;
};

void tst_SerialLink::init()
{
    answerer.reset(new ModalAnswerer);
    pty.reset(new PtyPair);
    QVERIFY(pty->is_open());
    window.reset(new frmain);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void tst_SerialLink::cleanup()
{
    // Destroying the window closes a port left open by a failed check.
    window.reset();
    pty.reset();
    answerer.reset();
}

// Types the path into the port choice and clicks the button, as an operator
// would; a successful open returns after its one-second wait.
bool tst_SerialLink::open_port(const QString &path)
{
    window->port_combobox->setEditText(path);
    QTest::mouseClick(window->open_button, Qt::LeftButton);
    return shows_port(true);
}

bool tst_SerialLink::close_port()
{
    QTest::mouseClick(window->open_button, Qt::LeftButton);
    return shows_port(false) && answerer->take_messages() == QStringList{"串口关闭成功！"};
}

// The button, the five choices and the port itself agree on the state.
bool tst_SerialLink::shows_port(bool open) const
{
    for (const QComboBox *choice :
         {window->port_combobox, window->baud_combobox, window->databits_combobox,
          window->parity_combobox, window->stopbits_combobox}) {
        if (choice->isEnabled() == open)
            return false;
    }
    return window->open_button->text() == (open ? open_text : closed_text)
        && window->my_com->isOpen() == open;
}

void tst_SerialLink::line_settings_data()
{
    QTest::addColumn<QString>("baud");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("stop");
    QTest::addColumn<uint>("speed");

    // Every entry of every choice appears at least once.
    QTest::newRow("2400 5 none 1") << "2400" << 0 << 0 << 0 << uint(B2400);
    QTest::newRow("4800 6 odd 1.5") << "4800" << 1 << 1 << 1 << uint(B4800);
    QTest::newRow("9600 8 even 2") << "9600" << 3 << 2 << 2 << uint(B9600);
    QTest::newRow("19200 7 mark 1") << "19200" << 2 << 3 << 0 << uint(B19200);
    QTest::newRow("38400 8 space 2") << "38400" << 3 << 4 << 2 << uint(B38400);
    QTest::newRow("57600 5 none 1") << "57600" << 0 << 0 << 0 << uint(B57600);
    QTest::newRow("115200 8 none 1") << "115200" << 3 << 0 << 0 << uint(B115200);
}

// The choices by index, and how the line carries them. A pseudo-terminal
// refuses 6 and 7 data bits and even parity: a refused setting keeps the
// port's previous value and raises UnsupportedOperationError with no message.
void tst_SerialLink::line_settings()
{
    const QSerialPort::DataBits bits_for[]
        = {QSerialPort::Data5, QSerialPort::Data6, QSerialPort::Data7, QSerialPort::Data8};
    // None, odd, even (refused), mark, space.
    const tcflag_t parity_flags[] = {0, PARODD, 0, PARODD | CMSPAR, CMSPAR};
    const QSerialPort::StopBits stop_for[]
        = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};
    QFETCH(QString, baud);
    QFETCH(int, bits);
    QFETCH(int, parity);
    QFETCH(int, stop);
    QFETCH(uint, speed);

    window->baud_combobox->setCurrentText(baud);
    window->databits_combobox->setCurrentIndex(bits);
    window->parity_combobox->setCurrentIndex(parity);
    window->stopbits_combobox->setCurrentIndex(stop);
    QSignalSpy errors(window->my_com, &QSerialPort::errorOccurred);
    QVERIFY(open_port(pty->slave_path()));
    QVERIFY(answerer->messages.isEmpty());

    const bool bits_refused = bits == 1 || bits == 2;
    int refusals = 0;
    for (const QList<QVariant> &error : qAsConst(errors)) {
        const auto kind = error.at(0).value<QSerialPort::SerialPortError>();
        QVERIFY(kind == QSerialPort::NoError || kind == QSerialPort::UnsupportedOperationError);
        refusals += kind == QSerialPort::UnsupportedOperationError;
    }
    QCOMPARE(refusals, int(bits_refused) + int(parity == 2));

    const QSerialPort *port = window->my_com;
    const termios line = pty->slave_settings();
    QCOMPARE(port->baudRate(), baud.toInt());
    QCOMPARE(uint(cfgetospeed(&line)), speed);
    QCOMPARE(uint(cfgetispeed(&line)), speed);
    QCOMPARE(port->dataBits(), bits_refused ? QSerialPort::Data8 : bits_for[bits]);
    QCOMPARE(line.c_cflag & (PARODD | CMSPAR), parity_flags[parity]);
    QCOMPARE(port->stopBits(), stop_for[stop]);
    QCOMPARE(bool(line.c_cflag & CSTOPB), stop == 2);
    QCOMPARE(port->flowControl(), QSerialPort::NoFlowControl);
    QVERIFY(!(line.c_cflag & CRTSCTS) && !(line.c_iflag & (IXON | IXOFF)));
}

void tst_SerialLink::open_and_close()
{
    QVERIFY(!open_port(QDir::temp().filePath("svt-no-such-tty")));
    QCOMPARE(answerer->take_messages(), QStringList{"\n串口打开失败\n请检查串口是否被占用！\n"});
    QVERIFY(shows_port(false));

    // The next click takes the choice as it stands now.
    QVERIFY(open_port(pty->slave_path()));
    QCOMPARE(window->my_com->openMode(), QIODevice::ReadWrite);
    QVERIFY(answerer->messages.isEmpty());

    // A partial line survives closing and joins the first text after reopening.
    pty->write("$ 1500.0");
    QTRY_COMPARE(window->read_buffer, QString("$ 1500.0"));
    QVERIFY(close_port());

    // A closed port takes nothing, but the pacing still runs its full length.
    pty->clear_received();
    QElapsedTimer clock;
    clock.start();
    window->one_byte_send("abcd");
    QVERIFY2(clock.elapsed() >= 80, qPrintable(QString::number(clock.elapsed())));
    window->send("xyz");
    QTest::qWait(100);
    QVERIFY(pty->received().isEmpty());

    // Changed choices take effect on the next open.
    window->baud_combobox->setCurrentText("4800");
    QVERIFY(open_port(pty->slave_path()));
    QCOMPARE(window->my_com->baudRate(), 4800);
    pty->write("00 20.000\r\n");
    QTRY_COMPARE(window->speed_lineedit->text(), QString("1500.000"));
    QCOMPARE(pane_lines(window->status_textedit), QStringList{"$ 1500.000 20.000"});
    QVERIFY(close_port());
}

void tst_SerialLink::nothing_read_during_first_second()
{
    const QByteArray early = "$ 1500.100 20.100\r\n";
    QTimer::singleShot(200, pty.get(), [this, early] { pty->write(early); });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(open_port(pty->slave_path()));
    QVERIFY(clock.elapsed() >= 1000);

    // The early line has reached the port but not the reader.
    QCOMPARE(window->my_com->bytesAvailable(), qint64(early.size()));
    QTest::qWait(200);
    QCOMPARE(window->speed_lineedit->text(), idle);
    QVERIFY(pane_lines(window->status_textedit).isEmpty());

    // The next arrival brings it in together with the new bytes.
    pty->write("$ 1500.200 20.200\r\n");
    QTRY_COMPARE(window->speed_lineedit->text(), QString("1500.200"));
    QCOMPARE(pane_lines(window->status_textedit),
             QStringList({"$ 1500.100 20.100", "$ 1500.200 20.200"}));
}

// Each write is one chunk; after it the buffer, the displays and the pane
// hold what each row says. The block averages three points.
void tst_SerialLink::measurement_stream()
{
    struct Step
    {
        QByteArray bytes;
        QString buffer, speed, temp, avg, pane;
    };
    const char nuls[] = "\0\0$ 1505.0 25.0\r\n\0\0$ 1506\0\0.0 26.0\r\n\0";
    const Step steps[]
        = {// A line split across chunks shows only once it is complete.
           {"$ 1500.1", "$ 1500.1", idle, idle, idle, ""},
           {"23 20.4", "$ 1500.123 20.4", idle, idle, idle, ""},
           {"56\r\n$ 15", "$ 15", "1500.123", "20.456\r\n", idle, "$ 1500.123 20.456\n"},
           // A burst: the displays show its last line, the pane and block all.
           {"01.0 21.0\r\n$ 1502.0 22.0\r\n$ 1503.0 23.0\r\n", "", "1503.0", "23.0\r\n", "1501.041",
            "$ 1501.0 21.0\n$ 1502.0 22.0\n$ 1503.0 23.0\n"},
           {"noise\r\nmore noise\r\n$ 1504.0 24.0\r\n", "", "1504.0", "24.0\r\n", "1501.041",
            "$ 1504.0 24.0\n"},
           {QByteArray(nuls, sizeof nuls - 1), "", "1506.0", "26.0\r\n", "1504",
            "$ 1505.0 25.0\n$ 1506.0 26.0\n"},
           // Three fields, or two blanks in a row, are ignored; any character
           // after "$" is skipped.
           {"$ 1600.0 30.0 x\r\n$ 1601.0  31.0\r\n$X1507.0 27.0\r\n", "", "1507.0", "27.0\r\n",
            "1504", "$ 1507.0 27.0\n"},
           {"$ 1508.0\r\n", "", "1508.0\r\n", idle, "1507", "$ 1508.0\n"},
           // A speed that is no number is shown but stays out of the block.
           {"$ abc 28.0\r\n", "", "abc", "28.0\r\n", "1507", "$ abc 28.0\n"},
           {"$ 1510.0 29.0\r\n$ 1520.0 29.0\r\n", "", "1520.0", "29.0\r\n", "1507",
            "$ 1510.0 29.0\n$ 1520.0 29.0\n"},
           {"$ 1530.0 29.0\r\n", "", "1530.0", "29.0\r\n", "1520", "$ 1530.0 29.0\n"}};

    QVERIFY(open_port(pty->slave_path()));
    window->avg_points = 3;

    QString pane;
    for (const Step &step : steps) {
        pty->write(step.bytes);
        QTRY_COMPARE(window->read_buffer, step.buffer);
        QTRY_COMPARE(window->speed_lineedit->text(), step.speed);
        QCOMPARE(window->temp_lineedit->text(), step.temp);
        QCOMPARE(window->avg_speed_lineedit->text(), step.avg);
        pane += step.pane;
        QCOMPARE(pane_lines(window->status_textedit), pane.split('\n', Qt::SkipEmptyParts));
    }
}

void tst_SerialLink::sleep_timing_and_cpu()
{
    QElapsedTimer clock;
    clock.start();
    window->Sleep(100);
    const qint64 slept = clock.nsecsElapsed();
    QVERIFY2(slept >= 100 * 1000000LL && slept < 1000 * 1000000LL,
             qPrintable(QString::number(slept)));

    clock.restart();
    window->Sleep(0);
    window->Sleep(-5);
    QVERIFY(clock.elapsed() < 20);

    // The pause sleeps instead of polling: a polling wait burns a whole core.
    const double share = cpu_share([this] { window->Sleep(1000); });
    QVERIFY2(share < 0.2, qPrintable(QString::number(share)));
}

// Timers, serial data and clicks are all served inside a pause.
void tst_SerialLink::sleep_serves_events()
{
    QVERIFY(open_port(pty->slave_path()));
    window->avg_lineedit->setText("2");

    // The timers go with this function, even if the pause ends too early.
    // The click's message box runs a loop of its own, so the data comes
    // after it is answered.
    QObject scope;
    bool timer_fired = false;
    QString speed_seen;
    QTimer::singleShot(50, &scope, [&] { timer_fired = true; });
    QTimer::singleShot(60, &scope, [&] { QTest::mouseClick(window->avg_button, Qt::LeftButton); });
    QTimer::singleShot(200, &scope, [&] { pty->write("$ 1500.500 20.500\r\n"); });
    QTimer::singleShot(450, &scope, [&] { speed_seen = window->speed_lineedit->text(); });

    QElapsedTimer clock;
    clock.start();
    window->Sleep(500);
    QVERIFY(clock.elapsed() >= 500);
    QVERIFY(timer_fired);
    QCOMPARE(speed_seen, QString("1500.500"));
    QCOMPARE(window->avg_points, 2u);
    QCOMPARE(answerer->take_messages(), QStringList{"设置成功！"});
}

void tst_SerialLink::paced_sending()
{
    QVERIFY(open_port(pty->slave_path()));
    pty->clear_received();

    QElapsedTimer clock;
    clock.start();
    window->one_byte_send("done");
    QVERIFY2(clock.elapsed() >= 80, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(pty->wait_for_bytes(4));
    QCOMPARE(pty->received(), QByteArray("done"));
    QCOMPARE(pty->arrivals.size(), 4);
    for (int i = 1; i < pty->arrivals.size(); ++i) {
        const qint64 gap = pty->arrivals.at(i).msecs - pty->arrivals.at(i - 1).msecs;
        QVERIFY2(gap >= 15, qPrintable(QString("gap %1: %2 ms").arg(i).arg(gap)));
    }

    // One write, no terminator added.
    pty->clear_received();
    window->send("abc");
    QVERIFY(pty->wait_for_bytes(3));
    QTest::qWait(100);
    QCOMPARE(pty->received(), QByteArray("abc"));
    QCOMPARE(pty->arrivals.size(), 1);
}

void tst_SerialLink::device_vanishes()
{
    QVERIFY(open_port(pty->slave_path()));
    pty->write("$ 1500.700 20.700\r\n$ 15");
    QTRY_COMPARE(window->speed_lineedit->text(), QString("1500.700"));

    pty->close_master();
    QVERIFY(answerer->wait_for_messages(1));
    QVERIFY(shows_port(false));

    // No second box and no error storm afterwards.
    const double share = cpu_share([] { QTest::qWait(1000); });
    QVERIFY2(share < 0.2, qPrintable(QString::number(share)));
    QCOMPARE(answerer->messages, QStringList{"\n串口连接已断开\n请检查设备连接！\n"});

    // What arrived before the loss stays.
    QCOMPARE(window->speed_lineedit->text(), QString("1500.700"));
    QCOMPARE(window->temp_lineedit->text(), QString("20.700\r\n"));
    QCOMPARE(pane_lines(window->status_textedit), QStringList{"$ 1500.700 20.700"});
}

QTEST_MAIN(tst_SerialLink)
#include "tst_seriallink.moc"
