// The station reading any probe, on a clock the test moves: the formats the
// log names and when, the reset on reconnection, the counts, the start text
// a probe chosen by name is sent, the depth the cross-check takes.

#include "alarmmonitor.h"
#include "manualclock.h"
#include "nmeachecksum.h"
#include "ptypair.h"
#include "soundspeed.h"
#include "station.h"
#include "trendmodel.h"
#include "watersettings.h"

#include <QtTest>

using Lines = QList<QByteArray>; // "back": the device came back
Q_DECLARE_METATYPE(Lines)

static const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();

// "$BODY*hh\r\n", the checksum off by one when wrong.
static QByteArray sentence(const QByteArray &body, bool wrong = false)
{
    const int sum = nmea_checksum(body.toStdString()) ^ int(wrong);
    return "$" + body + "*" + QByteArray::number(sum, 16).toUpper().rightJustified(2, '0')
        + "\r\n";
}

// "auto" or a format's name, "!" after it when checksums are ignored.
static InputChoice input_of(const QString &text)
{
    InputChoice input;
    InputFormat::from_name(text.section('!', 0, 0).toStdString(), &input.format);
    input.ignore_checksums = text.endsWith('!');
    return input;
}

class TestStationInput : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void formats_in_the_log_data();
    void formats_in_the_log();
    void start_text_data();
    void start_text();
    void measured_depth_for_the_difference();
};

void TestStationInput::formats_in_the_log_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QStringList>("rows"); // the event column, "reading" for a reading
    QTest::addColumn<QString>("values"); // pressure and depth of the first reading
    QTest::addColumn<QList<qint64>>("counts"); // malformed, checksum, unrecognised
    const QByteArray dollar = "$ 1500.000 15.000\r\n", sv = " 1500.123\r\n";
    const QByteArray psgds = sentence("PSGDS,ADSVP,0012.500,1500.100,15.000,1026.10");
    const QByteArray pssv = sentence("PSSV, 1500.1, 33.0,F");
    const QStringList found{"format:psgds", "reading"};
    QTest::newRow("default instrument: nothing said")
        << "auto" << Lines{dollar, dollar, "back", dollar}
        << QStringList{"reading", "reading", "port_back", "reading"} << "," << QList<qint64>{0, 0, 0};
    QTest::newRow("a probe found: said before its reading")
        << "auto" << Lines{"xx\r\n", psgds, psgds, psgds, psgds} << found + QStringList{"reading"}
        << "12.5," << QList<qint64>{0, 0, 3};
    QTest::newRow("back to dollar: said")
        << "auto" << Lines{psgds, psgds, psgds, dollar}
        << found + QStringList{"format:dollar", "reading"} << "12.5," << QList<qint64>{0, 0, 2};
    QTest::newRow("probe replaced while unplugged")
        << "auto" << Lines{psgds, psgds, psgds, "back", sv, sv, sv}
        << found + QStringList{"port_back", "format:sv", "reading"} << "12.5,"
        << QList<qint64>{0, 0, 4};
    QTest::newRow("chosen by name, faults counted apart")
        << "pssv" << Lines{pssv, sentence("PSSV, 1500.1, 33.0,F", true), "garbage\r\n", pssv}
        << QStringList{"format:pssv", "reading", "reading"} << ",10.0584"
        << QList<qint64>{1, 1, 0};
    QTest::newRow("checksums ignored") << "pssv!" << Lines{sentence("PSSV, 1500.1, 33.0,F", true)}
                                       << QStringList{"format:pssv", "reading"} << ",10.0584"
                                       << QList<qint64>{0, 0, 0};
}

// format:NAME comes before the reading the format was decided or chosen
// with; every line that is no reading is counted once, in its own count.
void TestStationInput::formats_in_the_log()
{
    QFETCH(QString, input);
    QFETCH(Lines, lines);
    QFETCH(QStringList, rows);
    QFETCH(QString, values);
    QFETCH(QList<qint64>, counts);
    QSerialPort port;
    ManualClock clock(t0);
    Station station(&port, nullptr);
    station.set_clock(&clock);
    station.set_input(input_of(input));
    QString log_error;
    QVERIFY(station.start_recording(dir.filePath(QTest::currentDataTag() + QString(".txt")),
                                    &log_error));
    for (const QByteArray &line : lines) {
        clock.advance(100);
        if (line == "back")
            emit station.session()->back();
        else
            station.take(line);
    }
    const QString log = station.acquisition().log().file_name();
    station.stop_recording(true);

    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    file.readLine();
    QStringList events, first;
    while (!file.atEnd()) {
        const QStringList fields = QString(file.readLine()).trimmed().split(',');
        events << (fields.value(5).isEmpty() ? "reading" : fields.value(5));
        if (first.isEmpty() && !fields.value(1).isEmpty())
            first = fields.mid(7, 2);
    }
    QCOMPARE(events, rows);
    QCOMPARE(first.join(','), values);
    const TrendModel *model = station.trend();
    const MeasurementStream &stream = station.acquisition().stream();
    QCOMPARE((QList<qint64>{model->malformed_count(), model->checksum_count(),
                            model->unrecognised_count()}),
             counts);
    QCOMPARE((QList<qint64>{stream.malformed_count(), stream.checksum_count(),
                            stream.unrecognised_count()}),
             counts);
    const QStringList named = rows.filter("format:");
    QCOMPARE(station.status_details().value("format").toString(),
             named.isEmpty() ? QString("dollar") : named.last().mid(7));
}

void TestStationInput::start_text_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("back"); // the device goes and comes back once
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("chosen: sent after opening") << "pssv" << "go\\r" << false << QByteArray("go\r");
    QTest::newRow("and again when back") << "pssv" << "go\\r" << true << QByteArray("go\rgo\r");
    QTest::newRow("escapes") << "sv" << "\\x41\\t\\\\n" << false << QByteArray("A\t\\n");
    QTest::newRow("automatic: never") << "auto" << "go\\r" << true << QByteArray();
    QTest::newRow("unknown escape: nothing") << "sv" << "go\\q" << false << QByteArray();
}

void TestStationInput::start_text()
{
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(bool, back);
    QFETCH(QByteArray, sent);
    PtyPair pty;
    QSerialPort port;
    Station station(&port, nullptr);
    InputChoice choice = input_of(input);
    choice.start_text = text;
    station.set_input(choice);
    QVERIFY(station.open({pty.slave_path(), 9600}));
    if (back)
        emit station.session()->back();
    // Whatever was sent before it arrives first.
    QVERIFY(station.write("|"));
    QVERIFY(pty.wait_for_bytes(sent.size() + 1));
    QCOMPARE(pty.received(), sent + "|");
}

// A probe's pressure stands for its depth: its speed at 1000 dbar is no
// difference, though some 16 m/s above the surface's.
void TestStationInput::measured_depth_for_the_difference()
{
    QSerialPort port;
    Station station(&port, nullptr);
    AlarmSettings settings = station.alarms()->settings();
    settings.set_enabled(Alarm::difference, true);
    station.alarms()->set_settings(settings, t0);
    station.set_input(input_of("p_t_sv"));
    const double speed = unesco_speed(35, 10, 1000);
    station.take("1000.0 10.000 " + QByteArray::number(speed, 'f', 3) + "\r\n");
    QVERIFY(!station.alarms()->is_active(Alarm::difference));
    QCOMPARE(station.water()->depth_in_use(), depth_from_pressure(1000));
    QVERIFY(qAbs(sound_speed(SoundEquation::unesco, 35, 10, station.water()->depth_in_use())
                 - speed)
            < 0.001);
    station.set_input(input_of("auto"));
    station.take("$ 1500.000 10.000\r\n");
    QCOMPARE(station.water()->depth_in_use(), station.water()->depth());
}

QTEST_GUILESS_MAIN(TestStationInput)
#include "tst_stationinput.moc"
