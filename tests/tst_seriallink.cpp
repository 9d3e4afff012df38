#include "frmain.h"
#include "modalanswerer.h"
#include "ptypair.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include <termios.h>
#include <time.h>

static const QString closed_text = QStringLiteral("打开串口");
static const QString open_text = QStringLiteral("关闭串口");
static const QString idle_display = QStringLiteral("0000.000");

// CPU time used by the whole process so far, in milliseconds.
static double process_cpu_ms()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// The pane's paragraphs: every measurement line ends in "\r\n", which the
// pane turns into one paragraph break.
static QStringList pane_lines(const QTextEdit *pane)
{
    QStringList lines = pane->toPlainText().split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

class tst_SerialLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void line_settings_data();
    void line_settings();
    void failed_open_and_retry();
    void open_and_close();
    void nothing_read_during_first_second();
    void measurement_stream();
    void reopen_keeps_partial_line();
    void sleep_timing();
    void sleep_serves_events();
    void sleep_cpu();
    void paced_sending();
    void device_vanishes();

private:
    bool open_port(const QString &path);
    bool close_port();
    bool set_avg_points(const QString &points);
    bool port_choices_enabled(bool enabled) const;

    ModalAnswerer *answerer = nullptr;
    PtyPair *pty = nullptr;
    frmain *window = nullptr;
};

void tst_SerialLink::initTestCase()
{
    qRegisterMetaType<QSerialPort::SerialPortError>();
}

void tst_SerialLink::init()
{
    answerer = new ModalAnswerer;
    pty = new PtyPair;
    QVERIFY(pty->is_open());
    window = new frmain;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void tst_SerialLink::cleanup()
{
    // Destroying the window closes a port left open by a failed check.
    delete window;
    window = nullptr;
    delete pty;
    pty = nullptr;
    delete answerer;
    answerer = nullptr;
}

// Types the path into the port choice and clicks the button, as an operator
// would; a successful open returns after its one-second wait.
bool tst_SerialLink::open_port(const QString &path)
{
    window->port_combobox->setEditText(path);
    QTest::mouseClick(window->open_button, Qt::LeftButton);
    return window->open_button->text() == open_text;
}

bool tst_SerialLink::close_port()
{
    QTest::mouseClick(window->open_button, Qt::LeftButton);
    return window->open_button->text() == closed_text
        && answerer->take_messages() == QStringList{"串口关闭成功！"};
}

bool tst_SerialLink::set_avg_points(const QString &points)
{
    window->avg_lineedit->setText(points);
    QTest::mouseClick(window->avg_button, Qt::LeftButton);
    return answerer->take_messages() == QStringList{"设置成功！"};
}

bool tst_SerialLink::port_choices_enabled(bool enabled) const
{
    const QComboBox *choices[]
        = {window->port_combobox, window->baud_combobox, window->databits_combobox,
           window->parity_combobox, window->stopbits_combobox};
    for (const QComboBox *choice : choices) {
        if (choice->isEnabled() != enabled)
            return false;
    }
    return true;
}

void tst_SerialLink::line_settings_data()
{
    QTest::addColumn<QString>("baud_text");
    QTest::addColumn<int>("databits_index");
    QTest::addColumn<int>("parity_index");
    QTest::addColumn<int>("stopbits_index");
    QTest::addColumn<int>("rate");
    QTest::addColumn<uint>("line_speed");
    QTest::addColumn<int>("data_bits");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("stop_bits");

    // Every row of the choice tables appears at least once.
    QTest::newRow("2400 5 none 1")
        << "2400" << 0 << 0 << 0 << 2400 << uint(B2400) << int(QSerialPort::Data5)
        << int(QSerialPort::NoParity) << int(QSerialPort::OneStop);
    QTest::newRow("4800 6 odd 1.5")
        << "4800" << 1 << 1 << 1 << 4800 << uint(B4800) << int(QSerialPort::Data6)
        << int(QSerialPort::OddParity) << int(QSerialPort::OneAndHalfStop);
    QTest::newRow("9600 8 even 2")
        << "9600" << 3 << 2 << 2 << 9600 << uint(B9600) << int(QSerialPort::Data8)
        << int(QSerialPort::EvenParity) << int(QSerialPort::TwoStop);
    QTest::newRow("19200 7 mark 1")
        << "19200" << 2 << 3 << 0 << 19200 << uint(B19200) << int(QSerialPort::Data7)
        << int(QSerialPort::MarkParity) << int(QSerialPort::OneStop);
    QTest::newRow("38400 8 space 2")
        << "38400" << 3 << 4 << 2 << 38400 << uint(B38400) << int(QSerialPort::Data8)
        << int(QSerialPort::SpaceParity) << int(QSerialPort::TwoStop);
    QTest::newRow("57600 5 odd 1.5")
        << "57600" << 0 << 1 << 1 << 57600 << uint(B57600) << int(QSerialPort::Data5)
        << int(QSerialPort::OddParity) << int(QSerialPort::OneAndHalfStop);
    QTest::newRow("115200 8 none 2")
        << "115200" << 3 << 0 << 2 << 115200 << uint(B115200) << int(QSerialPort::Data8)
        << int(QSerialPort::NoParity) << int(QSerialPort::TwoStop);
}

// A pseudo-terminal carries the speed, the stop bits and the parity kind, but
// refuses 6 and 7 data bits and even parity and always keeps CS8 without
// PARENB. A refused setting must leave the port's previous value, raise only
// UnsupportedOperationError and show no message.
void tst_SerialLink::line_settings()
{
    QFETCH(QString, baud_text);
    QFETCH(int, databits_index);
    QFETCH(int, parity_index);
    QFETCH(int, stopbits_index);
    QFETCH(int, rate);
    QFETCH(uint, line_speed);
    QFETCH(int, data_bits);
    QFETCH(int, parity);
    QFETCH(int, stop_bits);

    window->baud_combobox->setCurrentText(baud_text);
    QCOMPARE(window->baud_combobox->currentText(), baud_text);
    window->databits_combobox->setCurrentIndex(databits_index);
    window->parity_combobox->setCurrentIndex(parity_index);
    window->stopbits_combobox->setCurrentIndex(stopbits_index);

    QSignalSpy errors(window->my_com, &QSerialPort::errorOccurred);
    QVERIFY(errors.isValid());
    QVERIFY(open_port(pty->slave_path()));
    QVERIFY(answerer->messages.isEmpty());

    int refusals = 0;
    for (const QList<QVariant> &error : qAsConst(errors)) {
        const auto kind = error.at(0).value<QSerialPort::SerialPortError>();
        QVERIFY(kind == QSerialPort::NoError || kind == QSerialPort::UnsupportedOperationError);
        if (kind == QSerialPort::UnsupportedOperationError)
            ++refusals;
    }

    const QSerialPort *port = window->my_com;
    const termios line = pty->slave_settings();
    QCOMPARE(port->baudRate(), rate);
    QCOMPARE(uint(cfgetospeed(&line)), line_speed);
    QCOMPARE(uint(cfgetispeed(&line)), line_speed);

    // Each setting not taken must be one the pseudo-terminal cannot carry,
    // and must account for one refusal.
    int not_taken = 0;
    if (port->dataBits() != data_bits) {
        QVERIFY(data_bits == QSerialPort::Data6 || data_bits == QSerialPort::Data7);
        QCOMPARE(port->dataBits(), QSerialPort::Data8);
        ++not_taken;
    }
    if (port->parity() != parity) {
        QCOMPARE(parity, int(QSerialPort::EvenParity));
        QCOMPARE(port->parity(), QSerialPort::NoParity);
        ++not_taken;
    }
    QCOMPARE(refusals, not_taken);

    const bool odd_kind = line.c_cflag & PARODD;
    const bool stick = line.c_cflag & CMSPAR;
    switch (port->parity()) {
    case QSerialPort::OddParity:
        QVERIFY(odd_kind && !stick);
        break;
    case QSerialPort::MarkParity:
        QVERIFY(odd_kind && stick);
        break;
    case QSerialPort::SpaceParity:
        QVERIFY(!odd_kind && stick);
        break;
    default:
        QVERIFY(!odd_kind && !stick);
        break;
    }

    QCOMPARE(int(port->stopBits()), stop_bits);
    QCOMPARE(bool(line.c_cflag & CSTOPB), stop_bits == QSerialPort::TwoStop);

    QCOMPARE(port->flowControl(), QSerialPort::NoFlowControl);
    QVERIFY(!(line.c_cflag & CRTSCTS));
    QVERIFY(!(line.c_iflag & (IXON | IXOFF)));
}

void tst_SerialLink::failed_open_and_retry()
{
    const QString failure = "\n串口打开失败\n请检查串口是否被占用！\n";
    const QString missing = QDir::temp().filePath("svt-no-such-tty");

    QVERIFY(!open_port(missing));
    QCOMPARE(answerer->take_messages(), QStringList{failure});
    QCOMPARE(window->open_button->text(), closed_text);
    QVERIFY(port_choices_enabled(true));
    QVERIFY(!window->my_com->isOpen());

    QVERIFY(!open_port(missing));
    QCOMPARE(answerer->take_messages(), QStringList{failure});
    QCOMPARE(window->open_button->text(), closed_text);
    QVERIFY(port_choices_enabled(true));

    // The next click takes the choice as it stands now.
    QVERIFY(open_port(pty->slave_path()));
    QVERIFY(window->my_com->isOpen());
    QVERIFY(answerer->messages.isEmpty());
}

void tst_SerialLink::open_and_close()
{
    QVERIFY(open_port(pty->slave_path()));
    QCOMPARE(window->open_button->text(), open_text);
    QVERIFY(port_choices_enabled(false));
    QVERIFY(window->my_com->isOpen());
    QCOMPARE(window->my_com->openMode(), QIODevice::ReadWrite);
    QVERIFY(answerer->messages.isEmpty());

    // The choices at start: 9600 baud, 8 data bits, no parity, one stop bit.
    termios line = pty->slave_settings();
    QCOMPARE(window->my_com->baudRate(), 9600);
    QCOMPARE(cfgetospeed(&line), speed_t(B9600));
    QCOMPARE(window->my_com->dataBits(), QSerialPort::Data8);
    QCOMPARE(window->my_com->parity(), QSerialPort::NoParity);
    QCOMPARE(window->my_com->stopBits(), QSerialPort::OneStop);
    QVERIFY(!(line.c_cflag & CSTOPB));

    QVERIFY(close_port());
    QVERIFY(port_choices_enabled(true));
    QVERIFY(!window->my_com->isOpen());

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
    window->stopbits_combobox->setCurrentIndex(2);
    QVERIFY(open_port(pty->slave_path()));
    line = pty->slave_settings();
    QCOMPARE(window->my_com->baudRate(), 4800);
    QCOMPARE(cfgetospeed(&line), speed_t(B4800));
    QCOMPARE(window->my_com->stopBits(), QSerialPort::TwoStop);
    QVERIFY(line.c_cflag & CSTOPB);
    QVERIFY(port_choices_enabled(false));

    QVERIFY(close_port());
    QVERIFY(port_choices_enabled(true));
}

void tst_SerialLink::nothing_read_during_first_second()
{
    const QByteArray early = "$ 1500.100 20.100\r\n";
    QTimer::singleShot(200, pty, [this, early] { pty->write(early); });

    QElapsedTimer clock;
    clock.start();
    QVERIFY(open_port(pty->slave_path()));
    QVERIFY(clock.elapsed() >= 1000);

    // The early line has reached the port but not the reader.
    QCOMPARE(window->my_com->bytesAvailable(), qint64(early.size()));
    QTest::qWait(200);
    QCOMPARE(window->speed_lineedit->text(), idle_display);
    QCOMPARE(window->temp_lineedit->text(), idle_display);
    QVERIFY(pane_lines(window->status_textedit).isEmpty());

    // The next arrival brings it in together with the new bytes.
    pty->write("$ 1500.200 20.200\r\n");
    QTRY_COMPARE(window->speed_lineedit->text(), QString("1500.200"));
    QCOMPARE(window->temp_lineedit->text(), QString("20.200\r\n"));
    QCOMPARE(pane_lines(window->status_textedit),
             QStringList({"$ 1500.100 20.100", "$ 1500.200 20.200"}));
}

void tst_SerialLink::measurement_stream()
{
    QLineEdit *speed = window->speed_lineedit;
    QLineEdit *avg = window->avg_speed_lineedit;
    QLineEdit *temp = window->temp_lineedit;
    QTextEdit *pane = window->status_textedit;
    QStringList lines;

    QVERIFY(open_port(pty->slave_path()));
    QVERIFY(set_avg_points("3"));

    // A line split across three chunks shows only once it is complete.
    pty->write("$ 1500.1");
    QTRY_COMPARE(window->read_buffer, QString("$ 1500.1"));
    pty->write("23 20.4");
    QTRY_COMPARE(window->read_buffer, QString("$ 1500.123 20.4"));
    QCOMPARE(speed->text(), idle_display);
    QVERIFY(pane_lines(pane).isEmpty());
    pty->write("56\r\n$ 15");
    QTRY_COMPARE(speed->text(), QString("1500.123"));
    QCOMPARE(temp->text(), QString("20.456\r\n"));
    QCOMPARE(avg->text(), idle_display);
    lines << "$ 1500.123 20.456";
    QCOMPARE(pane_lines(pane), lines);

    // A burst: the rest of the waiting line and two more in one write. The
    // displays show the last, the pane every one, the block counts them all.
    pty->write("01.000 21.000\r\n$ 1502.000 22.000\r\n$ 1503.000 23.000\r\n");
    QTRY_COMPARE(speed->text(), QString("1503.000"));
    QCOMPARE(temp->text(), QString("23.000\r\n"));
    QCOMPARE(avg->text(), QString("1501.041")); // (1500.123 + 1501 + 1502) / 3
    lines << "$ 1501.000 21.000"
          << "$ 1502.000 22.000"
          << "$ 1503.000 23.000";
    QCOMPARE(pane_lines(pane), lines);

    // Garbage without a marker changes nothing.
    pty->write("garbage without a marker\r\nmore noise\r\n");
    pty->write("$ 1504.000 24.000\r\n");
    QTRY_COMPARE(speed->text(), QString("1504.000"));
    lines << "$ 1504.000 24.000";
    QCOMPARE(pane_lines(pane), lines);

    // NUL bytes are dropped, also inside a line; what follows them counts.
    const char with_nuls[] = "\0\0$ 1505.000 25.000\r\n\0\0$ 1506.0\0\0"
                             "00 26.000\r\n\0";
    pty->write(QByteArray(with_nuls, sizeof with_nuls - 1));
    QTRY_COMPARE(speed->text(), QString("1506.000"));
    QCOMPARE(temp->text(), QString("26.000\r\n"));
    QCOMPARE(avg->text(), QString("1504")); // (1503 + 1504 + 1505) / 3
    lines << "$ 1505.000 25.000"
          << "$ 1506.000 26.000";
    QCOMPARE(pane_lines(pane), lines);

    // Three fields, or two blanks in a row, are ignored; any character after
    // "$" is skipped and shown as the blank of "$ ".
    pty->write("$ 1600.000 30.000 x\r\n$ 1601.000  31.000\r\n$X1507.000 27.000\r\n");
    QTRY_COMPARE(speed->text(), QString("1507.000"));
    QCOMPARE(temp->text(), QString("27.000\r\n"));
    lines << "$ 1507.000 27.000";
    QCOMPARE(pane_lines(pane), lines);

    // Speed only: the temperature shows zeros, the speed keeps its line end.
    pty->write("$ 1508.000\r\n");
    QTRY_COMPARE(speed->text(), QString("1508.000\r\n"));
    QCOMPARE(temp->text(), idle_display);
    QCOMPARE(avg->text(), QString("1507")); // (1506 + 1507 + 1508) / 3
    lines << "$ 1508.000";
    QCOMPARE(pane_lines(pane), lines);

    // A speed that is no number is shown but stays out of the block.
    pty->write("$ abc 28.000\r\n");
    QTRY_COMPARE(speed->text(), QString("abc"));
    QCOMPARE(temp->text(), QString("28.000\r\n"));
    pty->write("$ 1510.000 29.000\r\n$ 1520.000 29.000\r\n");
    QTRY_COMPARE(speed->text(), QString("1520.000"));
    QCOMPARE(avg->text(), QString("1507"));
    pty->write("$ 1530.000 29.000\r\n");
    QTRY_COMPARE(speed->text(), QString("1530.000"));
    QCOMPARE(avg->text(), QString("1520"));
    lines << "$ abc 28.000"
          << "$ 1510.000 29.000"
          << "$ 1520.000 29.000"
          << "$ 1530.000 29.000";
    QCOMPARE(pane_lines(pane), lines);
}

// A partial line survives a close and joins the first text after reopening,
// and the reader runs once per arrival however often the port was opened.
void tst_SerialLink::reopen_keeps_partial_line()
{
    QVERIFY(open_port(pty->slave_path()));
    pty->write("$ 1500.0");
    QTRY_COMPARE(window->read_buffer, QString("$ 1500.0"));
    QVERIFY(close_port());
    QVERIFY(open_port(pty->slave_path()));
    QVERIFY(close_port());
    QVERIFY(open_port(pty->slave_path()));
    QVERIFY(set_avg_points("2"));

    QSignalSpy averages(window->avg_speed_lineedit, &QLineEdit::textChanged);
    pty->write("00 20.000\r\n");
    QTRY_COMPARE(window->speed_lineedit->text(), QString("1500.000"));
    QCOMPARE(window->temp_lineedit->text(), QString("20.000\r\n"));
    QCOMPARE(window->avg_speed_lineedit->text(), idle_display);

    pty->write("$ 1600.000 21.000\r\n");
    QTRY_COMPARE(window->speed_lineedit->text(), QString("1600.000"));
    QCOMPARE(window->avg_speed_lineedit->text(), QString("1550"));
    QCOMPARE(averages.count(), 1);
    QCOMPARE(pane_lines(window->status_textedit),
             QStringList({"$ 1500.000 20.000", "$ 1600.000 21.000"}));
}

void tst_SerialLink::sleep_timing()
{
    QElapsedTimer clock;
    clock.start();
    window->Sleep(100);
    const qint64 slept = clock.nsecsElapsed();
    QVERIFY2(slept >= 100 * 1000000LL, qPrintable(QString::number(slept)));
    QVERIFY2(slept < 1000 * 1000000LL, qPrintable(QString::number(slept)));

    clock.restart();
    window->Sleep(0);
    window->Sleep(-5);
    QVERIFY(clock.elapsed() < 20);
}

// Timers, serial data and clicks are all served inside a pause.
void tst_SerialLink::sleep_serves_events()
{
    QVERIFY(open_port(pty->slave_path()));
    window->avg_lineedit->setText("2");

    // The timers go with this function, even if the pause ends too early.
    QObject scope;
    bool timer_fired = false;
    QString speed_seen;
    QTimer::singleShot(50, &scope, [&] { timer_fired = true; });
    QTimer::singleShot(100, &scope, [&] { pty->write("$ 1500.500 20.500\r\n"); });
    QTimer::singleShot(150, &scope, [&] { QTest::mouseClick(window->avg_button, Qt::LeftButton); });
    QTimer::singleShot(400, &scope, [&] { speed_seen = window->speed_lineedit->text(); });

    QElapsedTimer clock;
    clock.start();
    window->Sleep(500);
    QVERIFY(clock.elapsed() >= 500);

    QVERIFY(timer_fired);
    QCOMPARE(speed_seen, QString("1500.500"));
    QCOMPARE(window->avg_points, 2u);
    QCOMPARE(answerer->take_messages(), QStringList{"设置成功！"});
}

// The pause sleeps instead of polling: a polling wait burns a whole core.
void tst_SerialLink::sleep_cpu()
{
    const double cpu_before = process_cpu_ms();
    QElapsedTimer clock;
    clock.start();
    window->Sleep(1000);
    const double wall = clock.elapsed();
    const double cpu = process_cpu_ms() - cpu_before;
    QVERIFY(wall >= 1000);
    QVERIFY2(cpu < 0.2 * wall, qPrintable(QString("%1 ms CPU in %2 ms").arg(cpu).arg(wall)));
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

    pty->clear_received();
    clock.restart();
    window->one_byte_send("");
    QVERIFY(clock.elapsed() < 20);

    // One write, no terminator added.
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
    QTRY_COMPARE_WITH_TIMEOUT(window->open_button->text(), closed_text, 5000);
    QVERIFY(answerer->wait_for_messages(1));
    QVERIFY(port_choices_enabled(true));
    QVERIFY(!window->my_com->isOpen());

    // No second box and no error storm afterwards.
    const double cpu_before = process_cpu_ms();
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(1000);
    const double cpu = process_cpu_ms() - cpu_before;
    QVERIFY2(cpu < 0.2 * clock.elapsed(), qPrintable(QString("%1 ms CPU").arg(cpu)));
    QCOMPARE(answerer->messages, QStringList{"\n串口连接已断开\n请检查设备连接！\n"});

    QCOMPARE(window->speed_lineedit->text(), QString("1500.700"));
    QCOMPARE(window->temp_lineedit->text(), QString("20.700\r\n"));
    QCOMPARE(pane_lines(window->status_textedit), QStringList{"$ 1500.700 20.700"});
}

QTEST_MAIN(tst_SerialLink)
#include "tst_seriallink.moc"
