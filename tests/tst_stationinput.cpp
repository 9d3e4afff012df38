// The station reading any probe, on a clock the test moves: the formats the
// log names and when, the reset on opening and reconnection, the counts,
// the start text a probe chosen by name is sent; the depth the
// cross-check takes.

#include "alarmmonitor.h"
#include "logrows.h"
#include "manualclock.h"
#include "ptypair.h"
#include "soundspeed.h"
#include "station.h"
#include "trendmodel.h"
#include "watersettings.h"

#include <QtTest>

// "back": the device came back; "open": opened again (closed before);
// "rec": the recording starts (else it does before the first line).
using Lines = QList<QByteArray>;
Q_DECLARE_METATYPE(Lines)

static const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();

// "auto" or a format's name, "!" after it when checksums are ignored, then
// ":" and the start text.
static InputChoice input_of(const QString &text)
{
    InputChoice input;
    const QString format = text.section(':', 0, 0);
    InputFormat::from_name(format.section('!', 0, 0).toStdString(), &input.format);
    input.ignore_checksums = format.endsWith('!');
    input.start_text = text.section(':', 1);
    return input;
}

class TestStationInput : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void formats_in_the_log_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QString>("rows"); // the event column, "reading" for a reading
        QTest::addColumn<QString>("values"); // pressure and depth of the first reading
        QTest::addColumn<QList<qint64>>("counts"); // malformed, checksum, unrecognised
        QTest::addColumn<QByteArray>("sent"); // to the port, once opened
        const QByteArray dollar = "$ 1500.000 15.000\r\n", sv = " 1500.123\r\n";
        const QByteArray psgds = "$PSGDS,ADSVP,0012.500,1500.100,15.000,1026.10*1C\r\n";
        const QByteArray pssv = "$PSSV, 1500.1, 12.1,F*6B\r\n",
                         wrong = "$PSSV, 1500.1, 12.1,F*6A\r\n";
        const auto row
            = [](const char *name, const char *input, const Lines &lines, const char *rows,
                 const char *values, const QList<qint64> &counts, const QByteArray &sent = {}) {
                  QTest::newRow(name) << input << lines << rows << values << counts << sent;
              };
        row("default instrument: nothing said", "auto", {dollar, dollar, "back", dollar},
            "reading reading port_back reading", ",", {0, 0, 0});
        row("a probe found: said before its reading", "auto",
            {"xx\r\n", psgds, psgds, psgds, psgds}, "format:psgds reading reading", "12.5,",
            {0, 0, 3});
        row("back to dollar: said", "auto", {psgds, psgds, psgds, dollar},
            "format:psgds reading format:dollar reading", "12.5,", {0, 0, 2});
        row("probe replaced while unplugged", "auto", {psgds, psgds, psgds, "back", sv, sv, sv},
            "format:psgds reading port_back format:sv reading", "12.5,", {0, 0, 4});
        row("the same probe back: said again", "auto",
            {psgds, psgds, psgds, "back", psgds, psgds, psgds},
            "format:psgds reading port_back format:psgds reading", "12.5,", {0, 0, 4});
        row("probe replaced while closed", "auto", {psgds, psgds, psgds, "open", sv, sv, sv},
            "format:psgds reading format:sv reading", "12.5,", {0, 0, 4});
        row("a log started later names the probe", "auto", {psgds, psgds, psgds, "rec", psgds},
            "format:psgds reading", "12.5,", {0, 0, 2});
        row("chosen by name, faults counted apart", "pssv", {pssv, wrong, "garbage\r\n", pssv},
            "format:pssv reading reading", ",3.6881", {1, 1, 0});
        row("checksums ignored", "pssv!", {wrong}, "format:pssv reading", ",3.6881", {0, 0, 0});
        row("chosen: start text sent on opening and when back", "pssv:go\\r",
            {"open", pssv, "back", pssv}, "format:pssv reading port_back reading", ",3.6881",
            {0, 0, 0}, "go\rgo\r");
        row("automatic: never sent", "auto:go\\r", {"open", "back", dollar}, "port_back reading",
            ",", {0, 0, 0});
        row("start text escapes", "sv:\\x41\\t\\\\n", {"open"}, "", "", {0, 0, 0}, "A\t\\n");
        row("unknown escape: nothing sent", "sv:go\\q", {"open"}, "", "", {0, 0, 0});
    }

    // format:NAME comes before the reading the format was decided or chosen
    // with; every line that is no reading is counted once, in its own count.
    void formats_in_the_log()
    {
        QFETCH(QString, input);
        QFETCH(Lines, lines);
        QFETCH(QString, rows);
        QFETCH(QString, values);
        QFETCH(QList<qint64>, counts);
        QFETCH(QByteArray, sent);
        PtyPair pty;
        QSerialPort port;
        ManualClock clock(t0);
        Station station(&port, nullptr);
        station.set_clock(&clock);
        station.set_input(input_of(input));
        QString log_error;
        const QString raw = dir.filePath(QTest::currentDataTag() + QString(".txt"));
        if (!lines.contains("rec"))
            QVERIFY(station.start_recording(raw, &log_error));
        for (const QByteArray &line : lines) {
            clock.advance(100);
            if (line == "back")
                emit station.session()->back();
            else if (line == "open")
                QVERIFY(station.open({pty.slave_path(), 9600}));
            else if (line == "rec")
                QVERIFY(station.start_recording(raw, &log_error));
            else
                station.take(line);
        }
        const QString log = station.acquisition().log().file_name();
        station.stop_recording(true);
        QString first;
        QCOMPARE(log_rows(log, &first), rows.split(' ', Qt::SkipEmptyParts));
        QCOMPARE(first, values);
        const auto counted = [](const auto &lines) {
            return QList<qint64>{lines.malformed_count(), lines.checksum_count(),
                                 lines.unrecognised_count()};
        };
        QCOMPARE(counted(*station.trend()), counts);
        QCOMPARE(counted(station.acquisition().stream()), counts);
        if (lines.contains("open")) { // whatever was sent before it arrives first
            QVERIFY(station.write("|"));
            QVERIFY(pty.wait_for_bytes(sent.size() + 1));
            QCOMPARE(pty.received(), sent + "|");
        }
        const QStringList named = rows.split(' ', Qt::SkipEmptyParts).filter("format:");
        const InputFormat chosen = input_of(input).format;
        QCOMPARE(station.status_details().value("format").toString(),
                 !named.isEmpty() ? named.last().mid(7)
                                  : QString(chosen.automatic ? "dollar" : chosen.name()));
    }

    // A probe's pressure stands for its depth: its speed at 1000 dbar is no
    // difference, though some 16 m/s above the surface's.
    void measured_depth_for_the_difference()
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
        station.set_input(input_of("auto"));
        station.take("$ 1500.000 10.000\r\n");
        QCOMPARE(station.water()->depth_in_use(), station.water()->depth());
    }
};

QTEST_GUILESS_MAIN(TestStationInput)
#include "tst_stationinput.moc"
