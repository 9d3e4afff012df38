// Any probe on board, in process: the window on the simulator's
// pseudo-terminal for each format, from the displays to the log and a UDP
// sonar; configuring another probe asks first.

#include "logrows.h"
#include "outputhub.h"
#include "settingsstore.h"
#include "startup.h"
#include "stationbinding.h"
#include "windowfixture.h"

#include <QNetworkDatagram>
#include <QProcess>
#include <QTextEdit>
#include <QUdpSocket>
#include <QtTest>

static QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TestAnyProbe : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void end_to_end_data()
    {
        QTest::addColumn<QString>("input"); // --input-format
        QTest::addColumn<QString>("line_end");
        QTest::addColumn<QString>("values"); // pressure and depth in the log
        QTest::addColumn<bool>("temperature");
        const auto row = [](const char *format, const char *input, const char *line_end,
                            const char *values, bool temperature) {
            QTest::newRow(format) << input << line_end << values << temperature;
        };
        row("dollar", "auto", "crlf", ",", true);
        row("sv", "auto", "lf", ",", false);
        row("sv_mm", "auto", "cr", ",", false);
        row("p_t_sv", "auto", "crlf", "12.5,", true);
        row("tagged", "auto", "lf", ",12.5", true);
        row("psgds", "auto", "crlf", "12.5,", true);
        row("pssv", "pssv", "cr", ",12.5", false);
        row("t_c_s_sv", "auto", "crlf", ",", true);
    }

    // Opened mid-line, as a port often is: the speed shows, the log has a row
    // with what the probe gives, and a `line` output sends its lines as they came.
    void end_to_end()
    {
        QFETCH(QString, input);
        QFETCH(QString, line_end);
        QFETCH(QString, values);
        QFETCH(bool, temperature);
        const QString format = QTest::currentDataTag();
        QProcess sim;
        sim.start(INSTRUMENT_SIM,
                  {"--format", format, "--line-end", line_end, "--rate", "40", "--depth", "12.5",
                   "--start-mid-line"});
        QVERIFY(sim.waitForReadyRead(5000));
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        WindowOnPty w;
        SettingsStore store(QStringLiteral("svterminal-test"), QStringLiteral("anyprobe"));
        StartOptions options;
        QString error;
        StationSettings stored;
        stored.ignore_checksums = true;
        QVERIFY(store.save(stored));
        QVERIFY(StartOptions::parse({"--input-format", input}, &options, &error));
        prepare_window(w.window, store, options);
        // Remembered and given at start alike.
        const StationSettings kept = collect_station_settings(w.window);
        QVERIFY(kept.input_format == input && kept.ignore_checksums.value_or(false));
        QUdpSocket sonar;
        QVERIFY(sonar.bind(QHostAddress(QHostAddress::LocalHost)));
        OutputConfig output;
        QVERIFY(OutputConfig::parse(QString("udp:127.0.0.1:%1:line").arg(sonar.localPort()),
                                    &output, &error));
        QVERIFY(w.open(device));
        const QString raw = dir.filePath(format + ".txt");
        QVERIFY(w.record(raw));
        // Its first sentence is then of a reading with a row in the log.
        w.window.station()->outputs()->add(output);

        QVERIFY(QTest::qWaitFor([&] { return sonar.hasPendingDatagrams(); }, 10000));
        QVERIFY(
            QTest::qWaitFor([&] { return w.window.speed_lineedit->text() != "0000.000"; }, 5000));
        const QByteArray sent = sonar.receiveDatagram().data();
        bool number = false;
        const double speed = w.window.speed_lineedit->text().toDouble(&number);
        QVERIFY2(number && speed > 1400 && speed < 1600,
                 qPrintable(w.window.speed_lineedit->text()));
        w.window.temp_lineedit->text().toDouble(&number);
        QCOMPARE(number, temperature);
        const QString log = w.window.station()->acquisition().log().file_name();
        w.window.station()->stop_recording(true);

        QVERIFY2(contents(raw).contains(sent), sent);
        const QByteArray end = format == "dollar" || line_end == "crlf" ? "\r\n"
            : line_end == "lf"                                          ? "\n"
                                                                        : "\r";
        QVERIFY2(sent.endsWith(end) && !sent.chopped(end.size()).contains('\n'), sent);
        QString first;
        log_rows(log, &first);
        QCOMPARE(first, values);
        // The cut line before the default instrument's first is not shown.
        const QStringList pane = w.window.status_textedit->toPlainText().split('\n');
        if (format == "dollar")
            QCOMPARE(pane.filter(QRegularExpression("^(\\$ |\\[|$)")), pane);
    }

    void configuring_another_probe_asks_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<bool>("say_no");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QByteArray>("sent");
        const QByteArray sv = " 1500.123\r\n";
        QTest::newRow("default instrument: not asked")
            << QByteArray("$ 1500.000 15.000\r\n") << false << 0 << QByteArray("done\ry\r");
        QTest::newRow("another probe, no: nothing sent")
            << sv.repeated(3) << true << 1 << QByteArray();
        QTest::newRow("another probe, yes: sent")
            << sv.repeated(3) << false << 1 << QByteArray("done\ry\r");
    }

    void configuring_another_probe_asks()
    {
        QFETCH(QByteArray, lines);
        QFETCH(bool, say_no);
        QFETCH(int, questions);
        QFETCH(QByteArray, sent);
        WindowOnPty w;
        w.answerer.say_no = say_no;
        QVERIFY(w.open());
        QVERIFY(w.pty.write(lines));
        QVERIFY(QTest::qWaitFor([&] { return w.window.station()->format().has_value(); }, 5000));
        QTest::mouseClick(w.window.save_config_button, Qt::LeftButton);
        // Whatever the click sent arrives before it.
        QVERIFY(w.window.station()->write("|"));
        QVERIFY(w.pty.wait_for_bytes(sent.size() + 1));
        QCOMPARE(w.pty.received(), sent + "|");
        QCOMPARE(w.answerer.take_messages().size(), questions);
    }
};

QTEST_MAIN(TestAnyProbe)
#include "tst_anyprobe.moc"
