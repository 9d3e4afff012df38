// Alarm conditions raised and cleared through the reading sink, and the
// beeping, on a simulated clock.

#include "alarmmonitor.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>

using Step = std::function<void(AlarmMonitor &, qint64 now_ms)>;
Q_DECLARE_METATYPE(Step)

namespace {

const double water_temperature = 10.0;
const double water_speed
    = sound_speed(SoundEquation::unesco, 35.0, water_temperature, 0.0); // the default water

Step reading(double speed, Quality quality, bool with_temperature = true)
{
    return [=](AlarmMonitor &monitor, qint64 now_ms) {
        Reading r;
        r.speed = speed;
        r.temperature = with_temperature ? water_temperature : 0.0;
        r.has_temperature = with_temperature;
        r.valid = true;
        monitor.take(Measurement{r, quality, QString(), now_ms});
    };
}

Step spikes(int count)
{
    return [=](AlarmMonitor &monitor, qint64 now_ms) {
        for (int i = 0; i < count; ++i)
            reading(1500, Quality::spike)(monitor, now_ms - count + 1 + i);
    };
}

Step log_event(const char *name)
{
    return [=](AlarmMonitor &monitor, qint64 now_ms) { monitor.event(name, now_ms); };
}

AlarmSettings all_enabled()
{
    AlarmSettings settings;
    settings.enabled.fill(true);
    return settings;
}

} // namespace

class TestAlarms : public QObject
{
    Q_OBJECT

private slots:
    void conditions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Step>("raise");
        QTest::addColumn<Step>("clear");
        auto stale = [](bool on) { return [=](AlarmMonitor &m, qint64 t) { m.stale(on, t); }; };
        auto failed = [](bool on) {
            return [=](AlarmMonitor &m, qint64 t) { m.set_state(Alarm::recording_failed, on, t); };
        };
        QTest::newRow("stale") << "stale" << Step(stale(true)) << Step(stale(false));
        QTest::newRow("device_lost")
            << "device_lost" << log_event("port_lost") << log_event("port_back");
        QTest::newRow("range, cleared by a good reading")
            << "range" << reading(1300, Quality::range) << reading(water_speed, Quality::ok);
        QTest::newRow("range, cleared by a spike within limits")
            << "range" << reading(1700, Quality::range) << reading(water_speed, Quality::spike);
        QTest::newRow("spikes, the minute moves on")
            << "spikes" << spikes(11) << Step([](AlarmMonitor &m, qint64 t) { m.tick(t + 60000); });
        QTest::newRow("difference") << "difference" << reading(water_speed + 2.1, Quality::ok)
                                    << reading(water_speed - 1.9, Quality::ok);
        QTest::newRow("difference, no temperature to judge by")
            << "difference" << reading(water_speed - 2.1, Quality::ok)
            << reading(water_speed, Quality::ok, false);
        QTest::newRow("recording_failed")
            << "recording_failed" << Step(failed(true)) << Step(failed(false));
    }

    void conditions()
    {
        QFETCH(QString, name);
        QFETCH(Step, raise);
        QFETCH(Step, clear);
        AlarmMonitor monitor;
        monitor.set_settings(all_enabled(), 0);
        QSignalSpy changed(&monitor, &AlarmMonitor::changed);
        raise(monitor, 100000);
        QCOMPARE(monitor.active(), QStringList{name});
        clear(monitor, 100500);
        monitor.tick(200000); // past any wait before going off
        QCOMPARE(monitor.active(), QStringList());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed[0], (QVariantList{name, true, qint64(100000)}));
        QCOMPARE(changed[1].mid(0, 2), (QVariantList{name, false}));

        // Disabled: the condition is watched, no alarm is raised until enabled.
        AlarmMonitor off;
        AlarmSettings settings = all_enabled();
        settings.set_enabled(*alarm_from_name(name), false);
        off.set_settings(settings, 0);
        QSignalSpy quiet(&off, &AlarmMonitor::changed);
        raise(off, 100000);
        QCOMPARE(quiet.count(), 0);
        if (name != "difference") { // judged again from the next reading
            off.set_settings(all_enabled(), 100001);
            QCOMPARE(off.active(), QStringList{name});
        }
        QVERIFY(!alarm_description(name).isEmpty());
    }

    // More than ten spikes in a minute: the eleventh raises the alarm, which
    // holds until the first of them is a minute old.
    void spike_minute()
    {
        AlarmMonitor monitor;
        AlarmSettings at_once = all_enabled();
        at_once.clear_after_s = 0;
        monitor.set_settings(at_once, 0);
        for (int i = 0; i < 10; ++i)
            reading(1500, Quality::spike)(monitor, 5000 + i * 1000);
        reading(1500, Quality::ok)(monitor, 20000);
        QVERIFY(!monitor.is_active(Alarm::spikes));
        reading(1500, Quality::spike)(monitor, 64999);
        QVERIFY(monitor.is_active(Alarm::spikes));
        monitor.tick(64999);
        QVERIFY(monitor.is_active(Alarm::spikes));
        monitor.tick(65000);
        QVERIFY(!monitor.is_active(Alarm::spikes));
    }

    void off_once_clear_for_a_while_data()
    {
        QTest::addColumn<int>("clear_after_s");
        QTest::addColumn<QList<qint64>>("changes"); // times of on and off
        QTest::newRow("held 10 s") << 10 << QList<qint64>{0, 16000};
        QTest::newRow("at once") << 0 << QList<qint64>{0, 1000, 5000, 6000};
    }

    // A wild reading among good ones: the range alarm goes on with the first and
    // off only once the readings have been good for the hold time, stamped then.
    void off_once_clear_for_a_while()
    {
        QFETCH(int, clear_after_s);
        QFETCH(QList<qint64>, changes);
        AlarmMonitor monitor;
        AlarmSettings settings = all_enabled();
        settings.clear_after_s = clear_after_s;
        monitor.set_settings(settings, 0);
        QSignalSpy changed(&monitor, &AlarmMonitor::changed);
        reading(1300, Quality::range)(monitor, 0);
        reading(water_speed, Quality::ok)(monitor, 1000);
        reading(1700, Quality::range)(monitor, 5000);
        reading(water_speed, Quality::ok)(monitor, 6000);
        monitor.tick(15999);
        QCOMPARE(monitor.due_ms(), clear_after_s ? qint64(16000) : qint64(0));
        monitor.tick(16000);
        QList<qint64> times;
        for (const QList<QVariant> &change : changed)
            times << change.at(2).toLongLong();
        QCOMPARE(times, changes);
        QVERIFY(!monitor.is_active(Alarm::range));
    }

    void beeps_data()
    {
        QTest::addColumn<Step>("every_100ms");
        QTest::addColumn<QVector<qint64>>("beeps");
        QTest::newRow("one alarm") << Step([](AlarmMonitor &m, qint64 t) {
            if (t == 300)
                m.event("port_lost", t);
        }) << QVector<qint64>{300, 2300, 4300, 6300};
        QTest::newRow("an alarm coming and going")
            << Step([](AlarmMonitor &m, qint64 t) { m.stale(t % 200 == 0, t); })
            << QVector<qint64>{0, 2000, 4000, 6000};
    }

    // Until acknowledged, at once and every 2 s however often alarms come.
    void beeps()
    {
        QFETCH(Step, every_100ms);
        QFETCH(QVector<qint64>, beeps);
        AlarmMonitor monitor;
        qint64 now = 0;
        QVector<qint64> heard;
        connect(&monitor, &AlarmMonitor::beep, [&] { heard << now; });
        for (now = 0; now <= 7000; now += 100) {
            every_100ms(monitor, now);
            monitor.tick(now);
        }
        QCOMPARE(heard, beeps);
    }

    void acknowledge()
    {
        AlarmMonitor monitor;
        QSignalSpy beeps(&monitor, &AlarmMonitor::beep);
        monitor.stale(true, 0);
        monitor.acknowledge();
        for (qint64 t = 0; t <= 10000; t += 100)
            monitor.tick(t);
        QCOMPARE(beeps.count(), 1);
        QCOMPARE(monitor.active(), QStringList{"stale"}); // acknowledged, still shown

        monitor.event("port_lost", 10000); // a new alarm beeps again
        monitor.tick(12000);
        QCOMPARE(beeps.count(), 3);
        monitor.acknowledge();
        monitor.stale(false, 12100);
        monitor.stale(true, 14100); // back again: new
        monitor.tick(16000);
        QCOMPARE(beeps.count(), 4);
        monitor.acknowledge();
        monitor.tick(20000);
        QCOMPARE(beeps.count(), 4);
    }

    void settings_map()
    {
        AlarmSettings settings;
        settings.set_enabled(Alarm::difference, true);
        settings.set_enabled(Alarm::stale, false);
        settings.spike_limit = 3;
        settings.equation = SoundEquation::mackenzie;
        settings.depth = 250;
        settings.clock_offset_limit_s = 0.25;
        QStringList problems;
        QVariantMap map = settings.to_map();
        QCOMPARE(AlarmSettings::from_map(map, &problems).to_map(), map);
        QCOMPARE(problems, QStringList());

        map["spike_limit"] = "many";
        map["equation"] = "Wilson";
        map["salinity"] = 51;
        const AlarmSettings read = AlarmSettings::from_map(map, &problems);
        QCOMPARE(read.spike_limit, AlarmSettings().spike_limit);
        QCOMPARE(read.equation, AlarmSettings().equation);
        QCOMPARE(read.salinity, AlarmSettings().salinity);
        QCOMPARE(read.depth, settings.depth);
        problems.sort();
        QCOMPARE(problems, (QStringList{"equation", "salinity", "spike_limit"}));
    }
};

QTEST_GUILESS_MAIN(TestAlarms)
#include "tst_alarms.moc"
