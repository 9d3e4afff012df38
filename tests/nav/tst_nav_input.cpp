#include "navinput.h"
#include "nmeasentence.h"

#include <QUdpSocket>
#include <QtTest>

// The simulator as a child process.
struct GnssSim
{
    ~GnssSim() { stop(); }
    void start(const QString &arguments)
    {
        process.start(GNSS_SIM, arguments.split(' ', Qt::SkipEmptyParts));
        QVERIFY(process.waitForStarted(5000));
    }
    void stop()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
    QProcess process;
};

// A free local UDP port, as far as one can tell before using it.
static quint16 free_udp_port()
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return probe.localPort();
}

// One sentence the simulator logged: tab-separated, see gnss-sim --help.
struct Logged
{
    qint64 pc_ms;
    QByteArray kind, status, latitude, longitude, sentence;
};

static QVector<Logged> read_log(const QString &path)
{
    QFile file(path);
    QVector<Logged> rows;
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    file.readLine(); // the header
    while (!file.atEnd()) {
        const QList<QByteArray> f = file.readLine().chopped(1).split('\t');
        rows.append(
            {f.value(0).toLongLong(), f.value(2), f.value(3), f.value(4), f.value(5), f.value(6)});
    }
    return rows;
}

class tst_NavInput : public QObject
{
    Q_OBJECT

private slots:
    // Ten minutes of the simulator's own sentences at 1 Hz, with wrong
    // checksums, void fixes and a 10 s dropout, fed at the times it logged;
    // readings at 10 a second. Every reading within 2 s of the newest valid
    // fix sent carries exactly its position; none carries one otherwise.
    void tagging_against_the_simulator()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath("sent.tsv");
        const qint64 start = 1767225600000; // 2026-01-01
        GnssSim sim;
        sim.start(
            QStringLiteral("--stdout --fast --start-ms %1 --duration 600 --turn 0.5 --speed 12 "
                           "--lat -0.001 --lon 179.99 --bad-checksum-every 7 --void-at 420 "
                           "--void-for 5 --dropout-at 300 --dropout-for 10 --log %2")
                .arg(start)
                .arg(log));
        QVERIFY(sim.process.waitForFinished(30000));
        const QList<QByteArray> stream = sim.process.readAllStandardOutput().split('\n');
        const QVector<Logged> sent = read_log(log);
        QCOMPARE(sent.size(), 1770); // 590 epochs of three
        NavDecoder decoder;
        int next = 0, fresh = 0, exact = 0, stale_tagged = 0, in_dropout = 0;
        const Logged *valid = nullptr; // the newest valid fix sent
        for (qint64 t = start; t < start + 600000; t += 100) {
            for (; next < sent.size() && sent[next].pc_ms <= t; ++next) {
                QCOMPARE(stream.value(next), sent[next].sentence + '\r');
                decoder.feed(stream.value(next) + '\n', sent[next].pc_ms);
                const bool fix = sent[next].kind != "ZDA";
                valid = fix && sent[next].status == "ok" ? &sent[next]
                    : fix && sent[next].status == "void" ? nullptr
                                                         : valid;
            }
            const auto tag = decoder.state().tag(t);
            if (valid && t - valid->pc_ms <= 2000) {
                ++fresh;
                exact += tag && tag->latitude.text.toLatin1() == valid->latitude
                    && tag->longitude.text.toLatin1() == valid->longitude;
            } else {
                stale_tagged += bool(tag);
            }
            in_dropout += t >= start + 300000 && t < start + 310000 && tag;
        }
        qInfo("%d readings within 2 s of a valid fix, %d with its exact position; %d others "
              "tagged; %d of the dropout's 100 tagged (fresh from the fix before it)",
              fresh, exact, stale_tagged, in_dropout);
        QCOMPARE(exact, fresh);
        QCOMPARE(stale_tagged, 0);
        QCOMPARE(in_dropout, 11); // up to 2 s after the fix at 299 s
        QCOMPARE(decoder.counts().checksum,
                 std::count_if(sent.begin(), sent.end(),
                               [](const Logged &l) { return l.status == "bad_checksum"; }));
    }

    // Several sentences in a datagram are all read; a sentence cut between
    // two datagrams is counted, not joined.
    void udp_datagrams()
    {
        const quint16 port = free_udp_port();
        NavInput input;
        input.set_clock([] { return qint64(1025813731500); });
        QSignalSpy fixes(&input, &NavInput::fix_received),
            offsets(&input, &NavInput::offset_measured);
        input.start(*NavSource::parse(QStringLiteral("udp:%1").arg(port), nullptr));
        QCOMPARE(input.state(), NavInput::connected);
        const QByteArray gga
            = NmeaSentence::framed("GNGGA,201530.00,4807.038,S,01131.000,W,5,08,0.9,5.4,M,4.9,M,,")
            + "\r\n";
        const QByteArray zda = NmeaSentence::framed("GNZDA,201530.00,04,07,2002,00,00") + "\r\n";
        QUdpSocket sender;
        const auto send = [&](const QByteArray &bytes) {
            sender.writeDatagram(bytes, QHostAddress(QHostAddress::LocalHost), port);
        };
        send(gga + zda + gga.left(30));
        send(gga.mid(30));
        QVERIFY(QTest::qWaitFor([&] { return input.counts().fragments == 1; }, 5000));
        QCOMPARE(fixes.size(), 1);
        QCOMPARE(offsets.value(0).value(0).toLongLong(), qint64(1500));
        QCOMPARE(input.counts().checksum, 1);
        const auto tag = input.tag(1025813731500);
        QVERIFY(tag && tag->latitude.text == "-48.1173000" && tag->longitude.text == "-11.5166667");
        QCOMPARE(tag->quality, 5);
    }

    // The simulator's clock offset, measured over UDP in real time, is what
    // it was told (the figure is printed), and the limit check says on above 1 s.
    void offset_in_real_time_data()
    {
        QTest::addColumn<double>("offset_s");
        QTest::newRow("0.5 s") << 0.5;
        QTest::newRow("5 s") << 5.0;
        QTest::newRow("PC behind by 5 s") << -5.0;
    }

    void offset_in_real_time()
    {
        QFETCH(double, offset_s);
        const quint16 port = free_udp_port();
        NavInput input;
        input.start(*NavSource::parse(QStringLiteral("udp:%1").arg(port), nullptr));
        GnssSim sim;
        sim.start(QStringLiteral("--udp %1 --rate 10 --clock-offset %2").arg(port).arg(offset_s));
        const ClockOffset &offset = input.clock_offset();
        QVERIFY(QTest::qWaitFor([&] { return offset.history().size() >= 6; }, 10000));
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const double measured = double(offset.in_force_ms(now).value_or(0)) / 1000.0;
        qInfo("offset %.1f s: measured %.3f s over %d sentences", offset_s, measured,
              offset.history().size());
        // Within 0.1 s on an idle machine (printed above); a loaded one may hold
        // a few datagrams up, so the check leaves room for that.
        QVERIFY2(qAbs(measured - offset_s) < 0.3, QByteArray::number(measured));
        QCOMPARE(offset.exceeds(ClockOffset::default_limit_s, now), qAbs(offset_s) > 1.0);
    }

    // Over a real pseudo-terminal: fixes arrive; the simulator hangs up and
    // the input waits; a new one on the same link is found again by itself.
    void serial_hang_up_and_back()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath("gnss");
        NavInput input;
        input.set_retry_ms(100);
        QSignalSpy fixes(&input, &NavInput::fix_received);
        GnssSim first;
        first.start("--rate 5 --link " + link);
        QVERIFY(first.process.waitForReadyRead(5000));
        input.start(*NavSource::parse("serial:" + link, nullptr));
        QCOMPARE(input.state(), NavInput::connected);
        QVERIFY(QTest::qWaitFor([&] { return fixes.size() >= 2; }, 5000));
        first.stop();
        QVERIFY(QTest::qWaitFor([&] { return input.state() == NavInput::waiting; }, 5000));
        QVERIFY(!input.reason().isEmpty());
        fixes.clear();
        GnssSim second;
        second.start("--rate 5 --link " + link);
        QVERIFY(QTest::qWaitFor([&] { return fixes.size() >= 2; }, 10000));
        QCOMPARE(input.state(), NavInput::connected);
        QVERIFY(input.tag(QDateTime::currentMSecsSinceEpoch()));
    }
};

QTEST_GUILESS_MAIN(tst_NavInput)

#include "tst_nav_input.moc"
