// The outputs to a sonar: sentence formats, the quality gate, UDP, TCP and
// serial destinations, the counts and the command-line form. Loopback only.

#include "decimaltext.h"
#include "output_test_support.h"
#include "outputchannel.h"
#include "outputhub.h"
#include "pty_open.h"
#include "sentence.h"
#include "tcpservertransport.h"
#include "udptransport.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

Q_DECLARE_METATYPE(Quality)
Q_DECLARE_METATYPE(SentenceFormat)
Q_DECLARE_METATYPE(OutputGate::Mode)

static const qint64 t0 = 1796630400125; // 2026-12-07T08:00:00.125Z
static const QString sample = QStringLiteral("$ 1489.805 10.0449\r\n");

class TestOutputs : public QObject
{
    Q_OBJECT

private slots:
    void sentences_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<SentenceFormat>("format");
        QTest::addColumn<QByteArray>("sentence");
        const auto row = [](const char *name, const QString &line, SentenceFormat format,
                            const char *sentence) {
            QTest::newRow(name) << line << format << QByteArray(sentence);
        };
        using F = SentenceFormat;
        row("sv2 tie", sample, F::sv2, " 1489.81\r\n");
        row("sv2 below a tie", "$ 1489.8049\r\n", F::sv2, " 1489.80\r\n");
        row("sv2 carry", "$ 999.995\r\n", F::sv2, " 1000.00\r\n");
        row("sv2 four digits", "$ 343\r\n", F::sv2, " 0343.00\r\n");
        row("sv2 no point", "$ 1500\r\n", F::sv2, " 1500.00\r\n");
        row("sv2 plus sign", "$ +1500.5 3.0\r\n", F::sv2, " 1500.50\r\n");
        row("sv2 negative", "$ -343.5\r\n", F::sv2, " -0343.50\r\n");
        row("sv3", sample, F::sv3, " 1489.805\r\n");
        row("sv3 negative", "$ -343.5\r\n", F::sv3, " -0343.500\r\n");
        row("sv3 more decimals", "$ 1489.80451\r\n", F::sv3, " 1489.805\r\n");
        row("svt", sample, F::svt, " 1489.805 10.045\r\n");
        row("svt negative tie", "$ 1450.1 -1.2345\r\n", F::svt, " 1450.100 -1.235\r\n");
        row("svt negative to zero", "$ 1450 -0.0004\r\n", F::svt, " 1450.000 0.000\r\n");
        row("svt no temperature", "$ 1489.805\r\n", F::svt, " 1489.805\r\n");
        row("line", sample, F::line, "$ 1489.805 10.0449\r\n");
        row("json", sample, F::json,
            "{\"time_utc\":\"2026-12-07T08:00:00.125Z\",\"speed_m_s\":1489.805,"
            "\"temperature_c\":10.0449,\"quality\":\"ok\"}\n");
        row("json no temperature, odd numbers", "$ +01500.\r\n", F::json,
            "{\"time_utc\":\"2026-12-07T08:00:00.125Z\",\"speed_m_s\":1500,"
            "\"temperature_c\":null,\"quality\":\"ok\"}\n");
    }

    void sentences()
    {
        QFETCH(QString, line);
        QFETCH(SentenceFormat, format);
        QFETCH(QByteArray, sentence);
        const Reading reading = reading_of(line);
        QCOMPARE(build_sentence(format, {reading, Quality::ok, QString(), t0}), sentence);
    }

    // The object the MQTT publisher sends: the average before the quality.
    void json_average()
    {
        for (const auto &[average, field] : {std::pair{"1489.8", "1489.8"}, {"", "null"}}) {
            const QByteArray json
                = measurement_json({reading_of(sample), Quality::spike, average, t0}, true);
            QVERIFY2(json.endsWith(QByteArray(",\"average_m_s\":") + field
                                   + ",\"quality\":\"spike\"}\n"),
                     json);
        }
        QCOMPARE(round_decimal("1.5e-3", 3), QString("0.002"));
        QCOMPARE(round_decimal("15e2", 1), QString("1500.0"));
        QVERIFY(round_decimal("1,5", 1).isEmpty());
    }

    // Steps "TIME:ok|range|spike|tick|stale"; out: "TIMEF" forwarded, "TIMEH" held.
    void gate_data()
    {
        QTest::addColumn<OutputGate::Mode>("mode");
        QTest::addColumn<bool>("hold");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("out");
        const auto row = [](const char *name, bool hold, const char *steps, const char *out,
                            OutputGate::Mode mode = OutputGate::good_only) {
            QTest::newRow(name) << mode << hold << QString(steps) << QString(out);
        };
        row("good only", false, "0:ok 100:range 200:spike 300:ok", "0F 300F");
        row("every valid", true, "0:ok 100:range 200:spike 1500:tick", "0F 100F 200F",
            OutputGate::every_valid);
        row("held back is silent", false, "0:ok 1:spike 1000:tick 2000:spike", "0F");
        row("hold once a second, until stale", true,
            "0:ok 1:spike 999:tick 1000:tick 1500:spike 1999:tick 2000:tick 2999:tick 3000:tick "
            "3500:spike",
            "0F 1000H 2000H");
        row("silent after stale until the next good", true,
            "0:ok 1:spike 1000:tick 4000:spike 5000:tick 6000:ok 6001:range 7001:tick",
            "0F 1000H 6000F 7001H");
        row("a good reading ends the hold", true, "0:ok 1:spike 1000:tick 1500:ok 2500:tick",
            "0F 1000H 1500F");
        row("acquisition stale ends the hold", true,
            "0:ok 1:spike 1000:tick 1500:stale 2000:tick 2500:spike", "0F 1000H");
        row("nothing good yet", true, "0:spike 1000:tick 2000:range", "");
    }

    void gate()
    {
        QFETCH(OutputGate::Mode, mode);
        QFETCH(bool, hold);
        QFETCH(QString, steps);
        QFETCH(QString, out);
        OutputGate gate;
        gate.set_mode(mode);
        gate.set_hold(hold);
        const QMap<QString, Quality> qualities{
            {"ok", Quality::ok}, {"range", Quality::range}, {"spike", Quality::spike}};
        QStringList sent;
        for (const QString &step : steps.split(' ')) {
            const qint64 now = step.section(':', 0, 0).toLongLong();
            const QString what = step.section(':', 1);
            if (what == "stale") {
                gate.expire();
            } else if (what != "tick" && gate.decide(qualities.value(what), now)) {
                sent << QString::number(now) + 'F';
            } else if (gate.hold_due(now)) {
                gate.repeated(now);
                sent << QString::number(now) + 'H';
            }
        }
        QCOMPARE(sent.join(' '), out);
    }

    // A value held back goes out again in the output's format of now, or not at all.
    void hold_across_format_change()
    {
        QUdpSocket sonar;
        QVERIFY(sonar.bind(QHostAddress(QHostAddress::LocalHost)));
        OutputConfig config = parsed(QStringLiteral("udp:127.0.0.1:%1:sv3").arg(sonar.localPort()));
        config.hold = true;
        OutputChannel channel(config);
        const Reading reading = reading_of(sample);
        QVERIFY(channel.take({reading, Quality::ok, QString(), t0}));
        channel.take({reading, Quality::spike, QString(), t0 + 1});
        channel.tick(t0 + 1000);
        QCOMPARE(channel.status().repeated, 1);
        config.format = SentenceFormat::sv2;
        channel.configure(config);
        channel.tick(t0 + 2000);
        const OutputStatus status = channel.status();
        QVERIFY2(status.repeated == 1 || status.last_sentence == " 1489.81\r\n",
                 status.last_sentence.constData());
    }

    // An empty canonical form: refused, with an error naming the culprit.
    void config_text_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("canonical");
        QTest::addColumn<QString>("named");
        const auto row = [](const char *text, const char *canonical, const char *named = "") {
            QTest::newRow(text) << QString(text) << QString(canonical) << QString(named);
        };
        row("udp:192.168.1.255:5000", "udp:192.168.1.255:5000:sv2");
        row("UDP:sonar.local:1:JSON", "udp:sonar.local:1:json");
        row("tcp:65535:svt", "tcp:65535:svt");
        row("serial:/dev/ttyUSB0", "serial:/dev/ttyUSB0:9600:sv2");
        row("serial:COM3:4800:line", "serial:COM3:4800:line");
        row("serial:ttyS0:sv3", "serial:ttyS0:9600:sv3");
        row("udp:10.0.0.1:0", "", "0");
        row("tcp:65536", "", "65536");
        row("tcp:http", "", "http");
        row("udp::5000", "");
        row("udp:h:5000:nmea", "", "nmea");
        row("serial:/dev/ttyS0:fast:sv2", "", "fast");
        row("serial:/dev/ttyS0:0", "", "0");
        row("serial:", "");
        row("ftp:h:21", "", "ftp");
        row("udp:h", "", "udp:h");
        row("tcp:1:sv2:x", "", "tcp:1:sv2:x");
        row("", "");
    }

    void config_text()
    {
        QFETCH(QString, text);
        QFETCH(QString, canonical);
        QFETCH(QString, named);
        OutputConfig config;
        QString error;
        QCOMPARE(OutputConfig::parse(text, &config, &error), !canonical.isEmpty());
        if (canonical.isEmpty()) {
            QVERIFY(!error.isEmpty());
            QVERIFY2(error.contains(named), qPrintable(error));
            return;
        }
        QCOMPARE(config.to_text(), canonical);
        QVERIFY(parsed(canonical) == config);
    }

    void config_map()
    {
        OutputConfig serial = parsed("serial:/dev/ttyUSB1:19200:svt");
        serial.parity = QSerialPort::EvenParity;
        serial.stop_bits = QSerialPort::TwoStop;
        serial.data_bits = QSerialPort::Data7;
        serial.gate = OutputGate::every_valid;
        serial.hold = true;
        serial.enabled = false;
        OutputConfig read;
        QString error;
        for (const OutputConfig &config :
             {serial, parsed("udp:10.1.2.255:4000:json"), parsed("tcp:4001:line")}) {
            QVERIFY2(OutputConfig::from_map(config.to_map(), &read, &error), qPrintable(error));
            QVERIFY(read == config);
        }
        const QVector<QPair<QString, QVariant>> damage{
            {"port", "abc"}, {"parity", 1}, {"data_bits", 9}, {"format", "xml"}, {"kind", ""}};
        for (const auto &[key, value] : damage) {
            QVariantMap map = (key == "port" ? parsed("tcp:1") : serial).to_map();
            map[key] = value;
            QVERIFY2(!OutputConfig::from_map(map, &read, &error), qPrintable(key));
        }
    }

    // A datagram a reading; editing the output takes effect with the next one.
    void udp()
    {
        for (const QString host : {"127.0.0.1", "localhost"}) {
            QUdpSocket sonar, other;
            QVERIFY(sonar.bind(QHostAddress(QHostAddress::LocalHost)));
            QVERIFY(other.bind(QHostAddress(QHostAddress::LocalHost)));
            OutputHub hub;
            OutputConfig config
                = parsed(QStringLiteral("udp:%1:%2:svt").arg(host).arg(sonar.localPort()));
            QCOMPARE(hub.add(config), 0);
            QTRY_COMPARE(hub.status(0).state, OutputState::sending);
            QCOMPARE(take_good(hub, sample, t0), 1);
            QTRY_VERIFY(sonar.hasPendingDatagrams());
            QCOMPARE(sonar.receiveDatagram().data(), QByteArray(" 1489.805 10.045\r\n"));

            config.port = other.localPort();
            config.format = SentenceFormat::sv2;
            hub.set_config(0, config);
            QTRY_COMPARE(hub.status(0).state, OutputState::sending);
            QCOMPARE(take_good(hub, sample, t0 + 125), 1);
            QTRY_VERIFY(other.hasPendingDatagrams());
            QCOMPARE(other.receiveDatagram().data(), QByteArray(" 1489.81\r\n"));
            hub.set_enabled(0, false);
            QCOMPARE(take_good(hub, sample, t0 + 250), 0);
            QCOMPARE(hub.status(0).sent, 2);
            QCOMPARE(hub.status(0).errors, 0);
        }
    }

    // A send that failed shows until the next one goes out.
    void udp_error_then_sending()
    {
        QUdpSocket sonar;
        QVERIFY(sonar.bind(QHostAddress(QHostAddress::LocalHost)));
        UdpTransport udp(parsed(QStringLiteral("udp:127.0.0.1:%1").arg(sonar.localPort())));
        QVERIFY(!udp.send(QByteArray(70000, ' '))); // more than a datagram holds
        QCOMPARE(udp.state(), OutputState::error);
        QVERIFY(udp.send(" 1500.00\r\n"));
        QCOMPARE(udp.state(), OutputState::sending);
        QCOMPARE(udp.reason(), QString());
        QCOMPARE(udp.errors(), 1);
    }

    // lines in = forwarded + gated + not measurements, for each output, through
    // holds, edits and a pause while disabled.
    void counts_add_up()
    {
        QUdpSocket sonar;
        QVERIFY(sonar.bind(QHostAddress(QHostAddress::LocalHost)));
        OutputHub hub;
        OutputConfig good = parsed(QStringLiteral("udp:127.0.0.1:%1:sv3").arg(sonar.localPort()));
        good.hold = true;
        OutputConfig every = good;
        every.gate = OutputGate::every_valid;
        for (int i = 0; i < OutputHub::max_outputs; ++i)
            QCOMPARE(hub.add(i == 1 ? every : good), i);
        QCOMPARE(hub.add(good), -1);
        while (hub.remove(2)) { }

        const Reading reading = reading_of("$ 1500.000 12.000\r\n");
        const Reading rubbish = reading_of("$ 15x0\r\n");
        const Quality pattern[] = {Quality::ok, Quality::spike, Quality::range, Quality::ok};
        const int lines = 200;
        qint64 taken = 0, ok = 0, rejected = 0;
        for (int i = 0; i < lines; ++i) {
            const qint64 now = t0 + 700 * i;
            if (i == 50 || i == 80)
                hub.set_enabled(1, i == 80);
            const Quality quality = pattern[i % 4];
            if (i % 9 == 0)
                hub.reject(rubbish, now);
            else
                taken += hub.take({reading, quality, QString(), now});
            ok += i % 9 && quality == Quality::ok;
            rejected += i % 9 == 0;
            hub.tick(now + 350);
        }
        const OutputStatus a = hub.status(0), b = hub.status(1);
        QCOMPARE(a.lines, lines);
        QCOMPARE(a.lines, a.forwarded + a.gated + a.not_measurements);
        QCOMPARE(b.lines, b.forwarded + b.gated + b.not_measurements);
        QVERIFY(b.lines < a.lines);
        QCOMPARE(a.forwarded, ok);
        QCOMPARE(a.not_measurements, rejected);
        QCOMPARE(b.gated, 0);
        QVERIFY(a.repeated > 0);
        QCOMPARE(taken, a.forwarded + b.forwarded);
        QCOMPARE(a.sent, a.forwarded + a.repeated);
    }

    // Steps: reading, spike, tick (a second on), add (a TCP output) or an
    // event; the event whose reason the TCP outputs then give, "" if sending.
    void port_events_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("closed") << "reading port_closed config_start" << "port_closed";
        QTest::newRow("closed, then read") << "port_closed reading" << "";
        QTest::newRow("lost and back") << "port_lost port_back" << "port_back";
        QTest::newRow("added while closed") << "port_closed add" << "port_closed";
        QTest::newRow("added once read again") << "port_closed reading add" << "";
        QTest::newRow("closing ends a hold") << "reading spike port_closed tick" << "port_closed";
        // clang-format on
    }

    void port_events()
    {
        QFETCH(QString, steps);
        QFETCH(QString, reason);
        OutputHub hub;
        OutputConfig held = parsed(QStringLiteral("tcp:%1").arg(free_tcp_port()));
        held.hold = true;
        hub.add(held);
        hub.add(parsed("serial:/dev/svt-no-such-port"));
        qint64 now = t0;
        for (const QString &step : steps.split(' ')) {
            now += step == "tick" ? 1000 : 1;
            if (step == "reading" || step == "spike")
                hub.take({reading_of(sample), step == "spike" ? Quality::spike : Quality::ok,
                          QString(), now});
            else if (step == "tick")
                hub.tick(now);
            else if (step == "add")
                hub.add(parsed(QStringLiteral("tcp:%1").arg(free_tcp_port())));
            else
                hub.event(step, now);
        }
        for (int tcp = 0; tcp < hub.count(); tcp += 2) {
            QCOMPARE(hub.status(tcp).state,
                     reason.isEmpty() ? OutputState::sending : OutputState::waiting);
            QCOMPARE(hub.status(tcp).reason, OutputHub::waiting_reason(reason));
        }
        QCOMPARE(hub.status(0).repeated, 0); // closing ends a hold
        // A destination that cannot take sentences says so first.
        QVERIFY(hub.status(1).reason != OutputHub::waiting_reason(reason));
    }

    void tcp_clients()
    {
        OutputHub hub;
        const quint16 port = free_tcp_port();
        hub.add(parsed(QStringLiteral("tcp:%1:sv2").arg(port)));
        QCOMPARE(hub.status(0).state, OutputState::sending);

        QTcpSocket early;
        early.connectToHost(QHostAddress::LocalHost, port);
        QTRY_COMPARE(hub.status(0).clients, 1);
        early.write("data rate 30\r"); // talked to, never answering
        QCOMPARE(take_good(hub, "$ 1500.001\r\n", t0), 1);

        std::vector<std::unique_ptr<QTcpSocket>> late;
        for (int i = 0; i < TcpServerTransport::max_clients; ++i) {
            late.push_back(std::make_unique<QTcpSocket>());
            late.back()->connectToHost(QHostAddress::LocalHost, port);
        }
        QTRY_COMPARE(late.back()->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(hub.status(0).clients, TcpServerTransport::max_clients);
        QCOMPARE(hub.status(0).clients_refused, 1);
        QCOMPARE(take_good(hub, "$ 1500.002\r\n", t0 + 125), 1);
        QTRY_COMPARE(early.bytesAvailable(), 20);
        QCOMPARE(early.readAll(), QByteArray(" 1500.00\r\n 1500.00\r\n"));
        for (int i = 0; i + 1 < TcpServerTransport::max_clients; ++i) {
            QTRY_COMPARE(late[i]->bytesAvailable(), 10);
            late[i].reset();
        }
        QTRY_COMPARE(hub.status(0).clients, 1);
    }

    // A client that takes nothing is cut off; the one that reads gets every
    // sentence without delay all the while.
    void tcp_stalled_client()
    {
        OutputHub hub;
        QSignalSpy messages(&hub, &OutputHub::message);
        const quint16 port = free_tcp_port();
        hub.add(parsed(QStringLiteral("tcp:%1:json").arg(port)));

        const int stalled = stalled_client(port);
        QVERIFY(stalled >= 0);
        QTcpSocket reader;
        QByteArray received;
        connect(&reader, &QTcpSocket::readyRead, [&] { received += reader.readAll(); });
        reader.connectToHost(QHostAddress::LocalHost, port);
        QTRY_COMPARE(hub.status(0).clients, 2);

        const Reading reading = reading_of(sample);
        qint64 expected = 0, now = t0;
        for (int batch = 0; batch < 1000 && messages.isEmpty(); ++batch) {
            for (int i = 0; i < 200 && messages.isEmpty(); ++i) {
                const Measurement measurement{reading, Quality::ok, QString(), now += 125};
                expected += build_sentence(SentenceFormat::json, measurement).size();
                hub.take(measurement);
            }
            QTRY_COMPARE_WITH_TIMEOUT(received.size(), expected, 5000);
        }
        QCOMPARE(messages.count(), 1);
        QCOMPARE(hub.status(0).clients, 1);
        QCOMPARE(hub.status(0).clients_cut, 1);
        // Cut with what it had not taken held by the program (64 KiB and the
        // sentence that passed them) and by the system's send buffer (kept at
        // 64 KiB, which Linux doubles for its bookkeeping), not megabytes.
        const qint64 held = expected - bytes_waiting(stalled);
        QVERIFY2(held > TcpServerTransport::max_waiting
                     && held <= 3 * TcpServerTransport::max_waiting + 200,
                 qPrintable(QString::number(held)));
        QCOMPARE(take_good(hub, sample, now + 125), 1);
        QTRY_VERIFY(received.endsWith(hub.status(0).last_sentence));
        ::close(stalled);
    }

    // A port that is not there yet is tried once a second; a slow port keeps
    // only the newest sentence waiting; a port that goes away is waited for.
    void serial_port()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath("sonar");
        OutputHub hub;
        hub.add(parsed(QStringLiteral("serial:%1:9600:sv3").arg(link)));
        QCOMPARE(hub.status(0).state, OutputState::waiting);
        hub.tick(10000);

        char slave[64];
        int master = pty_open(slave, sizeof slave);
        QVERIFY(master >= 0);
        QVERIFY(QFile::link(QString::fromLatin1(slave), link));
        hub.tick(10999);
        QCOMPARE(hub.status(0).state, OutputState::waiting);
        hub.tick(11000);
        QCOMPARE(hub.status(0).state, OutputState::sending);

        for (int i = 0; i < 10; ++i)
            take_good(hub, QStringLiteral("$ 1500.%1\r\n").arg(i), t0 + i);
        // The first is on the line already, without a turn of the event loop.
        QByteArray got = read_pty(master, 5000);
        QCOMPARE(got, QByteArray(" 1500.000\r\n"));
        QTRY_VERIFY((got += read_pty(master)).endsWith(" 1500.900\r\n"));
        QCOMPARE(got, QByteArray(" 1500.000\r\n 1500.900\r\n"));
        QCOMPARE(hub.status(0).dropped, 8);

        ::close(master);
        take_good(hub, "$ 1500\r\n", t0 + 20);
        QTRY_COMPARE(hub.status(0).state, OutputState::waiting);
        QCOMPARE(take_good(hub, "$ 1500\r\n", t0 + 30), 0);
        master = pty_open(slave, sizeof slave);
        QVERIFY(QFile::remove(link) && QFile::link(QString::fromLatin1(slave), link));
        hub.tick(12000);
        QCOMPARE(hub.status(0).state, OutputState::sending);
        ::close(master);
    }
};

QTEST_GUILESS_MAIN(TestOutputs)
#include "tst_outputs.moc"
