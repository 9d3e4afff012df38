// The GNSS receiver through the station: each reading stamped with the
// position and the clock offset, on a clock the test moves; and once end to
// end, both simulators on pseudo-terminals, to the log, a UDP sonar and a
// broker.

#include "alarmmonitor.h"
#include "manualclock.h"
#include "mqttconfig.h"
#include "navigation.h"
#include "nmeasentence.h"
#include "outputconfig.h"
#include "outputhub.h"
#include "station.h"
#include "testbroker.h"
#include "testsubscriber.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>

static const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
static const QByteArray reading_line = "$ 1500.000 15.000\r\n";

static quint16 free_udp_port()
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return probe.localPort();
}

// The log's rows after the header, split at the commas.
static QList<QList<QByteArray>> log_rows(const QString &path)
{
    QFile file(path);
    QList<QList<QByteArray>> rows;
    if (file.open(QIODevice::ReadOnly))
        for (file.readLine(); !file.atEnd();)
            rows << file.readLine().trimmed().split(',');
    return rows;
}

namespace column {
enum { time_utc = 0, event = 5, latitude = 9, longitude, fix_quality, fix_age, offset };
}

// A station on the test's clock, recording, its receiver on a UDP port the
// test sends sentences to, each read before the next step.
struct NavStation
{
    QSerialPort port;
    ManualClock clock{t0};
    Station station{&port, nullptr};
    QUdpSocket sender;
    quint16 nav_port = free_udp_port();

    explicit NavStation(const QString &raw_path)
    {
        station.set_clock(&clock);
        station.navigation()->start(*NavSource::parse(QString("udp:%1").arg(nav_port), nullptr));
        QString log_error;
        station.start_recording(raw_path, &log_error);
    }
    bool receive(qint64 at_ms, const QByteArray &sentence)
    {
        clock.set(at_ms);
        QSignalSpy read(station.navigation()->input(), &NavInput::counts_changed);
        sender.writeDatagram(sentence, QHostAddress(QHostAddress::LocalHost), nav_port);
        return read.wait(5000);
    }
    QList<QList<QByteArray>> rows()
    {
        const QString log = station.acquisition().log().file_name();
        station.stop_recording(true);
        return log_rows(log);
    }
};

class TestNavStation : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // Ten minutes of the simulator's sentences at 1 Hz with wrong checksums, void
    // fixes and a 10 s dropout, received at the times it logged; readings at 10
    // a second. Every reading within 2 s of the newest valid fix carries exactly
    // its position and age in the log, and joins the map's track; none other
    // carries one.
    void tagging_through_the_station()
    {
        QProcess sim;
        sim.start(GNSS_SIM,
                  QString("--stdout --fast --start-ms %1 --duration 600 --turn 0.5 --speed 12 "
                          "--bad-checksum-every 7 --void-at 420 --void-for 5 --dropout-at 300 "
                          "--dropout-for 10 --log %2")
                      .arg(t0)
                      .arg(dir.filePath("sent.tsv"))
                      .split(' '));
        QVERIFY(sim.waitForFinished(30000));
        const QList<QByteArray> stream = sim.readAllStandardOutput().split('\n');
        QFile sent_log(dir.filePath("sent.tsv"));
        QVERIFY(sent_log.open(QIODevice::ReadOnly));
        QList<QList<QByteArray>> sent; // PC ms, GNSS time, kind, status, latitude, longitude
        for (sent_log.readLine(); !sent_log.atEnd();)
            sent << sent_log.readLine().split('\t');
        NavStation s(dir.filePath("tagging.txt"));
        QHash<qint64, QList<QByteArray>> expected; // reading time: latitude, longitude, age
        int next = 0;
        const QList<QByteArray> *valid = nullptr;
        // Half-way between the tenths of a second the fixes' ages are rounded to.
        for (qint64 t = t0 + 50; t < t0 + 600000; t += 100) {
            for (; next < sent.size() && sent[next][0].toLongLong() <= t; ++next) {
                QVERIFY(s.receive(sent[next][0].toLongLong(), stream.value(next) + '\n'));
                const QByteArray kind = sent[next][2], status = sent[next][3];
                valid = kind == "ZDA"  ? valid
                    : status == "ok"   ? &sent[next]
                    : status == "void" ? nullptr
                                       : valid;
            }
            const qint64 age = valid ? t - valid->at(0).toLongLong() : -1;
            if (valid && age <= 2000)
                expected[t] = {valid->at(4), valid->at(5),
                               QByteArray::number((age + 50) / 1000) + '.'
                                   + QByteArray::number((age + 50) / 100 % 10)};
            s.clock.set(t);
            s.station.take(reading_line);
        }
        int tagged = 0, right = 0, in_dropout = 0;
        for (const QList<QByteArray> &row : s.rows()) {
            const qint64 t = QDateTime::fromString(row[column::time_utc], Qt::ISODateWithMs)
                                 .toMSecsSinceEpoch();
            tagged += !row[column::latitude].isEmpty();
            right += expected.value(t, {{}, {}, {}})
                == QList<QByteArray>{row[column::latitude], row[column::longitude],
                                     row[column::fix_age]};
            in_dropout += t >= t0 + 300000 && t < t0 + 310000 && !row[column::latitude].isEmpty();
        }
        qInfo("%d of 6000 readings within 2 s of a valid fix; %d rows with a position, %d rows as "
              "expected (position, age or none); %d of the dropout's 100 tagged",
              int(expected.size()), tagged, right, in_dropout);
        QCOMPARE(right, 6000); // the rows without a position were expected without
        QCOMPARE(tagged, expected.size());
        QCOMPARE(in_dropout, 10); // up to 2 s after the fix at 299 s: 300.05 to 300.95 s
        QCOMPARE(s.station.navigation()->track().size(), tagged);
    }

    void offset_alarm_data()
    {
        QTest::addColumn<qint64>("offset_ms"); // PC minus GNSS
        QTest::addColumn<double>("limit_s");
        QTest::addColumn<bool>("stop"); // the input stopped on purpose, else it falls silent
        QTest::addColumn<QStringList>("events");
        const QStringList on_off{"alarm_on:clock_offset", "alarm_off:clock_offset"};
        QTest::newRow("0.5 s") << qint64(500) << 1.0 << false << QStringList();
        QTest::newRow("5 s, lapses") << qint64(5000) << 1.0 << false << on_off;
        QTest::newRow("PC behind by 5 s, stopped") << qint64(-5000) << 1.0 << true << on_off;
        QTest::newRow("5 s within a 10 s limit") << qint64(5000) << 10.0 << false << QStringList();
    }

    // ZDA once a second for 10 s: the log's rows carry the offset; beyond the
    // limit the alarm goes on with the first measurement and off a minute after
    // the last (or at once when the input is stopped).
    void offset_alarm()
    {
        QFETCH(qint64, offset_ms);
        QFETCH(double, limit_s);
        QFETCH(bool, stop);
        NavStation s(dir.filePath(QString(QTest::currentDataTag()) + ".txt"));
        AlarmSettings settings;
        settings.clock_offset_limit_s = limit_s;
        s.station.alarms()->set_settings(settings, t0);
        for (qint64 at = t0; at < t0 + 10000; at += 1000) {
            const QDateTime gnss = QDateTime::fromMSecsSinceEpoch(at - offset_ms, Qt::UTC);
            const QString zda = QString("GPZDA,%1.%2,%3,00,00")
                                    .arg(gnss.toString("hhmmss"))
                                    .arg(gnss.time().msec() / 10, 2, 10, QChar('0'))
                                    .arg(gnss.toString("dd,MM,yyyy"));
            QVERIFY(s.receive(at, NmeaSentence::framed(zda.toLatin1()) + "\r\n"));
            s.station.take(reading_line);
        }
        const qint64 last = t0 + 9000;
        if (stop) {
            s.station.navigation()->stop();
        } else {
            s.clock.set(last + 60000);
            s.station.tick();
            QCOMPARE(s.station.alarms()->is_active(Alarm::clock_offset),
                     limit_s * 1000 < qAbs(offset_ms));
            s.clock.set(last + 60001);
            s.station.tick();
        }
        QVERIFY(!s.station.alarms()->is_active(Alarm::clock_offset));
        QStringList events;
        int offsets = 0;
        for (const QList<QByteArray> &row : s.rows()) {
            if (row[column::event].contains("clock_offset"))
                events << row[column::event];
            offsets += row[column::offset] == QByteArray::number(offset_ms);
        }
        QTEST(events, "events");
        QCOMPARE(offsets, 10);
    }

    // The instrument and the receiver simulated on pseudo-terminals, in real
    // time: the same reading has the same position in the log, at the sonar
    // (json over UDP) and at the broker; the retained status gets the position.
    void both_simulators_end_to_end()
    {
        TestBroker broker;
        QVERIFY(broker.start());
        TestSubscriber watcher(broker.port(), "sv/nav1/#");
        QProcess instrument, gnss;
        const auto stop = qScopeGuard([&] {
            for (QProcess *sim : {&instrument, &gnss}) {
                sim->terminate();
                sim->waitForFinished(5000);
            }
        });
        instrument.start(INSTRUMENT_SIM, {"--rate", "10"});
        gnss.start(GNSS_SIM, {"--rate", "5"});
        QVERIFY(instrument.waitForReadyRead(5000) && gnss.waitForReadyRead(5000));
        QSerialPort port;
        Station station(&port, nullptr);
        connect(&port, &QSerialPort::readyRead, &station, [&] { station.take(port.readAll()); });
        QVERIFY(station.open({QString(instrument.readLine().trimmed()), 9600}));
        station.navigation()->start(
            *NavSource::parse("serial:" + gnss.readLine().trimmed(), nullptr));
        const qint64 status_interval_ms = 1000; // five times as often as usual, to be quick
        station.navigation()->set_status_interval_ms(status_interval_ms);
        QUdpSocket sonar;
        QVERIFY(sonar.bind(QHostAddress(QHostAddress::LocalHost)));
        OutputConfig output;
        QString error;
        QVERIFY(OutputConfig::parse(QString("udp:127.0.0.1:%1:json").arg(sonar.localPort()),
                                    &output, &error));
        station.outputs()->add(output);
        MqttConfig mqtt;
        mqtt.host = "127.0.0.1";
        mqtt.port = broker.port();
        mqtt.station = "nav1";
        station.publish_to(mqtt);
        QVERIFY(station.start_recording(dir.filePath("live.txt"), &error));
        QJsonObject sent;
        QVERIFY(QTest::qWaitFor(
            [&] {
                while (sonar.hasPendingDatagrams() && !sent.contains("latitude"))
                    sent = QJsonDocument::fromJson(sonar.receiveDatagram().data()).object();
                return sent.contains("latitude");
            },
            15000));
        const auto published = [&](const QString &topic, const char *key) {
            for (const TestSubscriber::Message &m : watcher.messages())
                if (m.topic == topic && QJsonDocument::fromJson(m.payload).object().contains(key))
                    return QJsonDocument::fromJson(m.payload).object();
            return QJsonObject();
        };
        // The position goes out with the status every so often, not with every reading.
        QList<qint64> fixes; // the times of the fixes the statuses carried
        QVERIFY(QTest::qWaitFor(
            [&] {
                fixes.clear();
                for (const TestSubscriber::Message &m : watcher.messages()) {
                    const QJsonObject position
                        = QJsonDocument::fromJson(m.payload).object()["position"].toObject();
                    if (m.topic == "sv/nav1/status" && !position.isEmpty())
                        fixes << QDateTime::fromString(position["time_utc"].toString(),
                                                       Qt::ISODateWithMs)
                                     .toMSecsSinceEpoch();
                }
                return fixes.size() >= 2;
            },
            20000));
        QVERIFY2(fixes[1] - fixes[0] >= status_interval_ms / 2,
                 QByteArray::number(fixes[1] - fixes[0]));
        const QJsonObject reading = published("sv/nav1/reading", "latitude");
        QVERIFY(!reading.isEmpty());
        QVERIFY(qAbs(reading["latitude"].toDouble() - 30.0) < 0.1);
        QVERIFY(qAbs(reading["longitude"].toDouble() - 122.0) < 0.1);
        const QString log = station.acquisition().log().file_name();
        station.stop_recording(true);
        int same = 0;
        for (const QList<QByteArray> &row : log_rows(log)) {
            const auto fields = [&row](const QJsonObject &json) {
                return row[column::time_utc] == json["time_utc"].toString().toLatin1()
                    && row[column::latitude].toDouble() == json["latitude"].toDouble()
                    && row[column::longitude].toDouble() == json["longitude"].toDouble()
                    && row[column::fix_age].toDouble() == json["fix_age_s"].toDouble();
            };
            same += fields(sent) + fields(reading);
        }
        QCOMPARE(same, 2);
    }
};

QTEST_GUILESS_MAIN(TestNavStation)
#include "tst_navstation.moc"
