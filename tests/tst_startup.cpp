// The start as the command line and the remembered settings make it, in
// process: what is applied, what is written, what is named.

#include "frmain.h"
#include "manualclock.h"
#include "navigation.h"
#include "outputhub.h"
#include "settingsstore.h"
#include "startup.h"
#include "stationbinding.h"

#include <QComboBox>
#include <QLineEdit>
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
    void record_names_the_start();
    void nav_started_and_remembered();
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

// --record names its file by the local time of the start, to the second.
void TestStartup::record_names_the_start()
{
    SettingsStore store(QStringLiteral("svterminal-test"), QStringLiteral("record"));
    frmain window;
    const QDateTime start(QDate(2026, 12, 7), QTime(8, 15, 42, 250), Qt::LocalTime);
    ManualClock clock(start.toMSecsSinceEpoch());
    window.station()->set_clock(&clock);
    const StartOptions options = parsed({"--defaults", "--record", dir.path()});
    prepare_window(window, store, options);
    QString said;
    QTextStream err(&said);
    start_unattended(window, options, err);
    QVERIFY2(said.isEmpty(), qPrintable(said));
    QCOMPARE(window.data_file->fileName(), dir.filePath("sv_20261207_081542.txt"));
    QVERIFY(QFile::exists(dir.filePath("sv_20261207_081542.csv")));
    window.close();
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

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
