// The start as the command line and the remembered settings make it, in
// process: what is applied, what is written, what is named.

#include "alarmmonitor.h"
#include "frmain.h"
#include "interfacelanguage.h"
#include "manualclock.h"
#include "navigation.h"
#include "outputhub.h"
#include "settingsstore.h"
#include "startup.h"
#include "stationbinding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>
#include <QtTest>

static QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static StartOptions parsed(const QStringList &arguments)
{
    StartOptions options;
    QString error;
    if (!StartOptions::parse(arguments, &options, &error))
        qFatal("%s", qPrintable(error));
    return options;
}

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void defaults_leave_the_file_alone();
    void port_that_cannot_open();
    void record_names_the_start_data();
    void record_names_the_start();
    void nav_started_and_remembered();
    void language_chosen_and_remembered();
};

// Remembered settings are neither read nor written over: the file stays
// byte for byte what it was, whatever the operator changes meanwhile.
void TestStartup::defaults_leave_the_file_alone()
{
    SettingsStore store(QStringLiteral("svterminal-test"), QStringLiteral("defaults"));
    StationSettings stored = StationSettings::defaults();
    stored.average_count = 7;
    QVERIFY(store.save(stored));
    QVERIFY(store.save_profile(QStringLiteral("bench"), stored));
    const QByteArray before = contents(store.file_name());
    QVERIFY(!before.isEmpty());

    frmain window;
    prepare_window(window, store, parsed({"--defaults", "--output", "udp:127.0.0.1:5602"}));
    QCOMPARE(window.avg_points, 5u); // not the remembered 7
    QCOMPARE(window.station()->outputs()->count(), 1);
    window.avg_lineedit->setText(QStringLiteral("9"));
    window.set_average_points(9);
    QTest::keyClick(window.avg_lineedit, Qt::Key_0); // a touch paces a save
    QTest::qWait(1500);
    QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection));
    QCOMPARE(contents(store.file_name()), before);
}

// An unattended start with a port that is not there: said on stderr, raised
// as an alarm, tried again; the alarm goes when the port is closed.
void TestStartup::port_that_cannot_open()
{
    SettingsStore store(QStringLiteral("svterminal-test"), QStringLiteral("port"));
    frmain window;
    const StartOptions options
        = parsed({"--defaults", "--port", dir.filePath("ttyNone"), "--open"});
    prepare_window(window, store, options);
    QString said;
    QTextStream err(&said);
    start_unattended(window, options, err);
    err.flush();
    QVERIFY2(said.contains(dir.filePath("ttyNone")), qPrintable(said));
    QVERIFY(window.station()->alarms()->is_active(Alarm::port_unavailable));
    QVERIFY(window.station()->session()->active());
    window.station()->close();
    QVERIFY(!window.station()->alarms()->is_active(Alarm::port_unavailable));
}

void TestStartup::record_names_the_start_data()
{
    QTest::addColumn<QString>("folder"); // under the test's folder; "file" is a plain file
    QTest::addColumn<bool>("records");
    QTest::newRow("there") << "" << true;
    QTest::newRow("made as mkdir -p would") << "new/night" << true;
    QTest::newRow("a file, not a folder") << "file" << false;
    QTest::newRow("under a file") << "file/night" << false;
}

// --record names its file by the local time of the start, to the second, in
// a folder made if missing; what keeps it from recording is said on stderr,
// in the pane and as an alarm, and the program runs on.
void TestStartup::record_names_the_start()
{
    QFETCH(QString, folder);
    QFETCH(bool, records);
    QTemporaryDir here;
    QFile plain(here.filePath("file"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    const QString target = here.filePath(folder);
    SettingsStore store(QStringLiteral("svterminal-test"), QStringLiteral("record"));
    frmain window;
    const QDateTime start(QDate(2026, 12, 7), QTime(8, 15, 42, 250), Qt::LocalTime);
    ManualClock clock(start.toMSecsSinceEpoch());
    window.station()->set_clock(&clock);
    const StartOptions options = parsed({"--defaults", "--record", target});
    prepare_window(window, store, options);
    QString said;
    QTextStream err(&said);
    start_unattended(window, options, err);
    err.flush();
    QCOMPARE(said.isEmpty(), records);
    QCOMPARE(window.station()->alarms()->is_active(Alarm::recording_failed), !records);
    if (records) {
        QCOMPARE(window.data_file->fileName(), QDir(target).filePath("sv_20261207_081542.txt"));
        QVERIFY(QFile::exists(QDir(target).filePath("sv_20261207_081542.csv")));
    } else {
        QVERIFY2(said.contains(target) && said.contains("不是文件夹"), qPrintable(said));
        QTRY_VERIFY(window.status_textedit->toPlainText().contains("不是文件夹"));
    }
    window.close();
    window.station()->set_clock(nullptr);
}

// --nav starts the receiver and the settings remember it: applied at another
// start they set its freshness before it is created and start it; saying it
// is off stops it; a source that no longer parses is named and changes nothing.
void TestStartup::nav_started_and_remembered()
{
    SettingsStore store(QStringLiteral("svterminal-test"), QStringLiteral("nav"));
    frmain window;
    prepare_window(window, store, parsed({"--defaults", "--nav", "udp:10110"}));
    QVERIFY(window.station()->navigation()->running());
    StationSettings s
        = StationSettings::from_map(collect_station_settings(window).to_map(), nullptr);
    QCOMPARE(s.nav_source.value_or(""), QString("udp:10110"));
    QVERIFY(s.nav_on.value_or(false));
    frmain other;
    Navigation *nav = other.station()->navigation();
    s.nav_fresh_s = 0.5;
    QStringList problems;
    apply_station_settings(other, s, &problems);
    QVERIFY(nav->running() && problems.isEmpty());
    QCOMPARE(nav->input()->nav_state().fresh_limit_ms(), 500);
    s.nav_on = false;
    apply_station_settings(other, s, &problems);
    QVERIFY(!nav->running() && problems.isEmpty());
    s.nav_on = true;
    s.nav_source = QStringLiteral("udp:99999");
    apply_station_settings(other, s, &problems);
    QVERIFY(!nav->running());
    QCOMPARE(problems, QStringList("nav/source"));
    QCOMPARE(collect_station_settings(other).nav_source.value_or(""), QString("udp:10110"));
}

// --lang, else the remembered language, else Chinese; what --lang or the
// window chooses is remembered, and a restart keeps the other options.
void TestStartup::language_chosen_and_remembered()
{
    SettingsStore store(QStringLiteral("svterminal-test"), QStringLiteral("language"));
    StationSettings stored = StationSettings::defaults();
    stored.language = QStringLiteral("en");
    QVERIFY(store.save(stored));
    QCOMPARE(start_language(parsed({}), read_start_settings(store, parsed({}))), QString("en"));
    const StartOptions zh = parsed({"--lang", "zh"});
    QCOMPARE(start_language(zh, read_start_settings(store, zh)), QString("zh"));
    const StartOptions defaults = parsed({"--defaults"});
    QCOMPARE(start_language(defaults, read_start_settings(store, defaults)), QString("zh"));

    frmain window;
    prepare_window(window, store, zh);
    QCOMPARE(collect_station_settings(window).language.value_or(""), QString("zh"));
    QStringList problems;
    StationSettings::from_map({{"interface/language", "xx"}}, &problems);
    QCOMPARE(problems, QStringList("interface/language"));
    QCOMPARE(InterfaceLanguage::restart_arguments(
                 {"--open", "--lang", "en", "--record", "d", "--lang=zh"}, "en"),
             QStringList({"--open", "--record", "d", "--lang", "en"}));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
