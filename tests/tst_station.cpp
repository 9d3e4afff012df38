// The station on a clock the test moves: what the log, the outputs, the
// alarms and the broker get, and in which order, without a window.

#include "alarmmonitor.h"
#include "manualclock.h"
#include "mqttbatch.h"
#include "mqttconfig.h"
#include "mqttpublisher.h"
#include "outputconfig.h"
#include "outputhub.h"
#include "outputs/output_test_support.h"
#include "ptypair.h"
#include "station.h"
#include "testbroker.h"
#include "testsubscriber.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QThread>
#include <QUdpSocket>
#include <QtTest>

static const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();

// A column of every row after the header; in the event column (5),
// "reading" for a reading's row.
static QStringList log_column(const QString &path, int column = 5)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {"unreadable"};
    QStringList rows;
    file.readLine();
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(',');
        rows << (fields.value(column).isEmpty() && column == 5
                     ? QStringLiteral("reading")
                     : QString::fromLatin1(fields.value(column)));
    }
    return rows;
}

// A station that has not opened its port, on the test's clock, recording.
struct ClockedStation
{
    QSerialPort port;
    ManualClock clock{t0};
    Station station{&port, nullptr};
    QString log;

    explicit ClockedStation(const QString &raw_path)
    {
        station.set_clock(&clock);
        QString log_error;
        station.start_recording(raw_path, &log_error);
        log = station.acquisition().log().file_name();
    }
    void after(qint64 ms, const QByteArray &lines = {})
    {
        clock.advance(ms);
        if (lines.isEmpty())
            station.tick();
        else
            station.take(lines);
    }
    QStringList rows(int column = 5)
    {
        station.stop_recording(true);
        return log_column(log, column);
    }
    // Adds the output and waits until it sends.
    bool add_output(const QString &text, bool hold = false)
    {
        OutputConfig config = parsed(text);
        config.hold = hold;
        station.outputs()->add(config);
        return QTest::qWaitFor(
            [&] { return station.outputs()->status(0).state == OutputState::sending; });
    }
};

static MqttConfig st1_at(quint16 port)
{
    MqttConfig config;
    config.host = QStringLiteral("127.0.0.1");
    config.port = port;
    config.station = QStringLiteral("st1");
    return config;
}

using Steps = QList<QPair<int, QByteArray>>; // after ms, lines (none: a tick)
Q_DECLARE_METATYPE(QVector<MqttWaitingReading>)

class TestStation : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void alarms_follow_their_cause_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QStringList>("rows");
        const QByteArray good = "$ 1500.000\r\n";
        QTest::newRow("range, off once clear for 10 s")
            << Steps{{0, good},    {100, "$ 1700.000\r\n" + good},
                     {2000, good}, {2000, good},
                     {2000, good}, {2000, good},
                     {1999, good}, {1, {}}}
            << QStringList{"reading", "reading", "alarm_on:range", "reading", "reading",
                           "reading", "reading", "reading",        "reading", "alarm_off:range"};
        QTest::newRow("stale on the clock")
            << Steps{{0, "$ 1500.000\r\n"}, {2999, {}}, {1, {}}, {500, "$ 1500.000\r\n"}}
            << QStringList{"reading", "alarm_on:stale", "reading", "alarm_off:stale"};
    }

    // An alarm a reading sets off is logged after that reading's row, however
    // the consumers are ordered; stale is decided by the station's clock.
    void alarms_follow_their_cause()
    {
        QFETCH(Steps, steps);
        QFETCH(QStringList, rows);
        ClockedStation s(dir.filePath(QTest::currentDataTag() + QStringLiteral(".txt")));
        for (const auto &step : steps)
            s.after(step.first, step.second);
        QCOMPARE(s.rows(), rows);
    }

    void closing_ends_loss_and_stale()
    {
        ClockedStation s(dir.filePath("closed.txt"));
        s.after(0, "$ 1500.000\r\n");
        s.after(3000);
        QVERIFY(s.station.alarms()->is_active(Alarm::stale));
        s.station.close();
        QVERIFY(s.station.alarms()->active().isEmpty());
        s.after(60000); // nothing is late once closed
        QVERIFY(s.station.alarms()->active().isEmpty());
        QCOMPARE(s.rows(),
                 QStringList({"reading", "alarm_on:stale", "port_closed", "alarm_off:stale"}));
    }

    void log_reaches_the_disk_each_second()
    {
        ClockedStation s(dir.filePath("flush.txt"));
        s.after(0, "$ 1500.000\r\n");
        s.after(999);
        QCOMPARE(log_column(s.log), QStringList());
        s.after(1);
        QCOMPARE(log_column(s.log), QStringList({"reading"}));
    }

    void hold_ends_at_the_deadline_in_force_data()
    {
        QTest::addColumn<int>("interval"); // between the good readings
        QTest::addColumn<int>("repeats"); // once a second until the stale deadline
        QTest::newRow("1 line/s: 3 s") << 1000 << 2;
        QTest::newRow("1 line in 3 s: 9 s") << 3000 << 6;
    }

    // The last good value is repeated while readings are held back, until the
    // stale deadline of this instrument's rate, never past it.
    void hold_ends_at_the_deadline_in_force()
    {
        QFETCH(int, interval);
        QFETCH(int, repeats);
        QUdpSocket sonar;
        QVERIFY(sonar.bind(QHostAddress(QHostAddress::LocalHost)));
        ClockedStation s(dir.filePath("hold.txt"));
        QVERIFY(s.add_output(QStringLiteral("udp:127.0.0.1:%1:sv3").arg(sonar.localPort()), true));
        for (int i = 0; i < 4; ++i)
            s.after(i ? interval : 0, "$ 1500.000\r\n");
        s.after(interval, "$ 1700.000\r\n"); // held back
        for (int i = 0; i < 12; ++i)
            s.after(1000);
        int got = 0;
        (void)QTest::qWaitFor([&] {
            while (sonar.hasPendingDatagrams())
                got += sonar.receiveDatagram().isValid();
            return got >= 4 + repeats;
        });
        QTest::qWait(100); // and no more than that
        while (sonar.hasPendingDatagrams())
            got += sonar.receiveDatagram().isValid();
        QCOMPARE(got - 4, repeats);
    }

    // A sonar on a slow serial line: a sentence that waits for the line is
    // replaced by a newer one, never sent after it, even once the line has gone
    // free before its turn; the log counts only the sentences that went out.
    void slow_serial_output_keeps_order_and_count()
    {
        PtyPair sonar;
        ClockedStation s(dir.filePath("slow.txt"));
        QVERIFY(s.add_output("serial:" + sonar.slave_path() + ":9600:sv3"));
        s.after(0, "$ 1500.000\r\n$ 1500.100\r\n$ 1500.200\r\n"); // one out, one waiting
        QThread::msleep(40); // the line is free, the waiting one not yet sent
        s.after(40, "$ 1500.300\r\n$ 1500.400\r\n"); // one out, one going once the line is free
        QVERIFY(sonar.wait_for_bytes(33));
        QTest::qWait(100); // nothing else comes
        QCOMPARE(sonar.received(), QByteArray(" 1500.000\r\n 1500.300\r\n 1500.400\r\n"));
        QCOMPARE(s.rows(6), QStringList({"1", "0", "0", "1", "1"})); // forwarded
    }

    // The station's tick (the log's flush) while a sentence waits for the line
    // leaves the row waiting: the log counts the sentence once it went.
    void waiting_row_keeps_its_count_data()
    {
        QTest::addColumn<QByteArray>("meanwhile"); // lines, or a tick when empty
        QTest::addColumn<QString>("event"); // an event logged meanwhile
        QTest::newRow("the log's flush") << QByteArray() << QString();
        QTest::newRow("an event") << QByteArray() << "config_start";
        QTest::newRow("a reading held back") << QByteArray("$ 1700.000\r\n") << QString();
    }

    // A reading whose sentence waits for a slow line keeps its row, and the
    // rows after it, until the sentence went: whatever comes meanwhile.
    void waiting_row_keeps_its_count()
    {
        QFETCH(QByteArray, meanwhile);
        QFETCH(QString, event);
        PtyPair sonar;
        ClockedStation s(dir.filePath("waiting.txt"));
        QVERIFY(s.add_output("serial:" + sonar.slave_path() + ":9600:sv3"));
        s.after(0, "$ 1500.000\r\n$ 1500.100\r\n"); // one out, one waiting
        if (!event.isEmpty())
            s.station.acquisition().note(event, s.clock.now_ms());
        s.after(0, meanwhile);
        QVERIFY(sonar.wait_for_bytes(22));
        QCOMPARE(s.rows(6).count("1"), 2); // forwarded
    }

    // The retained status says the port is not open while the device is away.
    void status_says_whether_the_port_is_open()
    {
        PtyPair instrument;
        QSerialPort port;
        Station station(&port, nullptr);
        station.session()->set_retry_ms(100);
        const auto port_open = [&] { return station.status_details().value("port_open").toBool(); };
        QVERIFY(!port_open());
        QVERIFY(station.open({instrument.slave_path(), 9600}));
        QVERIFY(port_open());
        QSignalSpy back(&station, &Station::port_back);
        bool open_when_lost = true; // as the status is published on the loss
        connect(&station, &Station::port_lost, this, [&] { open_when_lost = port_open(); });
        emit port.errorOccurred(QSerialPort::ResourceError);
        QVERIFY(!open_when_lost);
        QVERIFY(back.wait(5000));
        QVERIFY(port_open());
        station.close();
        QVERIFY(!port_open());
    }

    // A broker never reached raises its alarm (when turned on) after a minute
    // of tries, on the station's clock; stopping publishing ends it.
    void broker_away_for_a_minute()
    {
        ClockedStation s(dir.filePath("broker.txt"));
        AlarmSettings settings = s.station.alarms()->settings();
        settings.set_enabled(Alarm::broker_unreachable, true);
        s.station.alarms()->set_settings(settings, s.clock.now_ms());
        s.station.publish_to(st1_at(9)); // nothing listens there
        s.after(59999);
        QVERIFY(!s.station.alarms()->is_active(Alarm::broker_unreachable));
        s.after(1);
        QVERIFY(s.station.alarms()->is_active(Alarm::broker_unreachable));
        s.station.publish_to(MqttConfig());
        QVERIFY(!s.station.alarms()->is_active(Alarm::broker_unreachable));
    }

    // One ordered stream to the broker: the reading, then the alarm it set off,
    // then the alarm list; the first status already names the port.
    void broker_hears_alarm_after_its_reading()
    {
        TestBroker broker;
        QVERIFY(broker.start());
        TestSubscriber watcher(broker.port(), QStringLiteral("sv/st1/#"));
        QSerialPort port;
        Station station(&port, nullptr);
        station.choose_port({QStringLiteral("/dev/ttyUSB7"), 9600});
        station.publish_to(st1_at(broker.port()));
        QVERIFY(QTest::qWaitFor(
            [&] { return station.publisher()->status().state == MqttLinkStatus::State::connected; },
            10000));
        station.take("$ 1700.000\r\n");
        const auto arrived = [&](const QString &topic, const QByteArray &part) {
            const auto got = watcher.messages();
            for (int i = 0; i < got.size(); ++i)
                if (got[i].topic == topic && got[i].payload.contains(part))
                    return i;
            return -1;
        };
        QVERIFY(QTest::qWaitFor([&] { return arrived("sv/st1/alarm", "range") >= 0; }, 10000));
        QVERIFY(arrived("sv/st1/reading", "1700") >= 0);
        QVERIFY(arrived("sv/st1/reading", "1700") < arrived("sv/st1/event", "alarm_on:range"));
        QVERIFY(arrived("sv/st1/event", "alarm_on:range") < arrived("sv/st1/alarm", "range"));
        const QJsonObject first
            = QJsonDocument::fromJson(
                  watcher.messages().value(arrived("sv/st1/status", "")).payload)
                  .object();
        QCOMPARE(first.value("port").toString(), QStringLiteral("/dev/ttyUSB7"));
        QCOMPARE(first.value("port_open").toBool(true), false);
    }

    void broker_batch_keeps_the_order_data()
    {
        QTest::addColumn<QVector<MqttWaitingReading>>("readings");
        QTest::addColumn<int>("first_event"); // numbered from here: e<N>
        QTest::addColumn<int>("events");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("alarm after its reading") << QVector<MqttWaitingReading>{{"r1", 0}} << 0 << 1
                                                 << QStringList{"status", "r1", "e0", "alarm"};
        QTest::newRow("event between readings")
            << QVector<MqttWaitingReading>{{"r1", 0}, {"r2", 1}, {"r3", 3}} << 0 << 3
            << QStringList{"status", "r1", "e0", "r2", "e1", "e2", "r3", "alarm"};
        QTest::newRow("earlier events already out")
            << QVector<MqttWaitingReading>{{"r1", 6}} << 5 << 2
            << QStringList{"status", "e5", "r1", "e6", "alarm"};
    }

    // A turn of the link sends what it holds in the order it was handed over.
    void broker_batch_keeps_the_order()
    {
        QFETCH(QVector<MqttWaitingReading>, readings);
        QFETCH(int, first_event);
        QFETCH(int, events);
        QFETCH(QStringList, sent);
        std::deque<QByteArray> waiting;
        for (int i = 0; i < events; ++i)
            waiting.push_back("e" + QByteArray::number(first_event + i));
        QStringList got;
        for (const MqttSend &send : mqtt_batch("status", readings, waiting, first_event, "alarm"))
            got << QString::fromLatin1(send.payload);
        QCOMPARE(got, sent);
    }
};

QTEST_GUILESS_MAIN(TestStation)
#include "tst_station.moc"
