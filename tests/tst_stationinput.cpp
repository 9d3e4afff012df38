// The station reading any probe, on a clock the test moves: the formats the
// log names and when, the reset on reconnection, the counts, the start text
// a probe chosen by name is sent, the depth the cross-check takes.

#include "alarmmonitor.h"
#include "logrows.h"
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
    return "$" + body + "*" + QByteArray::number(sum, 16).toUpper().rightJustified(2, '0') + "\r\n";
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
    QTest::addColumn<QString>("rows"); // the event column, "reading" for a reading
    QTest::addColumn<QString>("values"); // pressure and depth of the first reading
    QTest::addColumn<QList<qint64>>("counts"); // malformed, checksum, unrecognised
    const QByteArray dollar = "$ 1500.000 15.000\r\n", sv = " 1500.123\r\n";
    const QByteArray psgds = sentence("PSGDS,ADSVP,0012.500,1500.100,15.000,1026.10");
    const QByteArray pssv = sentence("PSSV, 1500.1, 33.0,F");
    const QByteArray wrong = sentence("PSSV, 1500.1, 33.0,F", true);
    const auto row = [](const char *name, const char *input, const Lines &lines, const char *rows,
                        const char *values, const QList<qint64> &counts) {
        QTest::newRow(name) << input << lines << rows << values << counts;
    };
    row("default instrument: nothing said", "auto", {dollar, dollar, "back", dollar},
        "reading reading port_back reading", ",", {0, 0, 0});
    row("a probe found: said before its reading", "auto", {"xx\r\n", psgds, psgds, psgds, psgds},
        "format:psgds reading reading", "12.5,", {0, 0, 3});
    row("back to dollar: said", "auto", {psgds, psgds, psgds, dollar},
        "format:psgds reading format:dollar reading", "12.5,", {0, 0, 2});
    row("probe replaced while unplugged", "auto", {psgds, psgds, psgds, "back", sv, sv, sv},
        "format:psgds reading port_back format:sv reading", "12.5,", {0, 0, 4});
    row("chosen by name, faults counted apart", "pssv", {pssv, wrong, "garbage\r\n", pssv},
        "format:pssv reading reading", ",10.0584", {1, 1, 0});
    row("checksums ignored", "pssv!", {wrong}, "format:pssv reading", ",10.0584", {0, 0, 0});
}

// format:NAME comes before the reading the format was decided or chosen
// with; every line that is no reading is counted once, in its own count.
void TestStationInput::formats_in_the_log()
{
    QFETCH(QString, input);
    QFETCH(Lines, lines);
    QFETCH(QString, rows);
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
    QString first;
    QCOMPARE(log_rows(log, &first), rows.split(' '));
    QCOMPARE(first, values);
    const auto counted = [](const auto &lines) {
        return QList<qint64>{lines.malformed_count(), lines.checksum_count(),
                             lines.unrecognised_count()};
    };
    QCOMPARE(counted(*station.trend()), counts);
    QCOMPARE(counted(station.acquisition().stream()), counts);
    const QStringList named = rows.split(' ').filter("format:");
    QCOMPARE(station.status_details().value("format").toString(),
             named.isEmpty() ? QString("dollar") : named.last().mid(7));
}

void TestStationInput::start_text_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("back"); // the device goes and comes back once
    QTest::addColumn<QByteArray>("sent");
    const auto row
        = [](const char *name, const char *input, const char *text, bool back,
             const QByteArray &sent) { QTest::newRow(name) << input << text << back << sent; };
    row("chosen: sent after opening", "pssv", "go\\r", false, "go\r");
    row("and again when back", "pssv", "go\\r", true, "go\rgo\r");
    row("escapes", "sv", "\\x41\\t\\\\n", false, "A\t\\n");
    row("automatic: never", "auto", "go\\r", true, "");
    row("unknown escape: nothing", "sv", "go\\q", false, "");
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
    station.set_input(input_of("auto"));
    station.take("$ 1500.000 10.000\r\n");
    QCOMPARE(station.water()->depth_in_use(), station.water()->depth());
}

QTEST_GUILESS_MAIN(TestStationInput)
#include "tst_stationinput.moc"
