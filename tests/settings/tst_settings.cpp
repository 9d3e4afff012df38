// The remembered settings and profiles, in a temporary configuration folder.

#include "savepacer.h"
#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(StationSettings)

namespace {

StationSettings everything_set()
{
    StationSettings s;
    s.port_name = QStringLiteral("/dev/ttyUSB0");
    s.baud = 115200;
    s.data_bits = 7;
    s.parity = 2;
    s.stop_bits = 2;
    s.instrument_baud = QStringLiteral("38400");
    s.output_rate = 30;
    s.temperature_output = false;
    s.average_count = 16;
    s.input_format = QStringLiteral("psgds");
    s.ignore_checksums = true;
    s.start_text = QStringLiteral("start\\r");
    s.range_low = 1450.5;
    s.range_high = 1550.25;
    s.spike_threshold = 0.75;
    s.salinity = 0.0;
    s.depth = 11999.5;
    s.trend_span_s = 7200;
    const QVariantMap udp{{"kind", "udp"}, {"port", 4001}};
    s.outputs = QVariantList{udp, QVariantMap{{"kind", "tcp"}}};
    s.alarms = QVariantMap{{"spikes", false}};
    s.mqtt = QVariantMap{{"host", "127.0.0.1"}};
    s.recording_folder = QStringLiteral("/home/观测/记录");
    s.trend_window_geometry = QByteArray("\x01\xd9\xd0\xcb\x00\x03/\\", 8);
    s.nav_source = QStringLiteral("serial:/dev/ttyUSB1:38400");
    s.nav_on = false;
    s.nav_fresh_s = 0.5;
    return s;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(folder.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
        file_name = SettingsStore().file_name();
        QVERIFY(file_name.startsWith(folder.path()));
    }

    void init() { QFile::remove(file_name); }

    void round_trip_data()
    {
        QTest::addColumn<StationSettings>("settings");
        QTest::newRow("every field") << everything_set();
        QTest::newRow("defaults") << StationSettings::defaults();
        StationSettings one_output;
        one_output.outputs = QVariantList{QVariantMap{{"kind", "serial"}}};
        QTest::newRow("one output") << one_output;
        StationSettings no_outputs;
        no_outputs.outputs = QVariantList{};
        QTest::newRow("no outputs") << no_outputs;
    }

    // Read back through the file's text: a copy under another name is one Qt has
    // not parsed yet, as at the next start.
    void round_trip()
    {
        QFETCH(StationSettings, settings);
        QVERIFY(SettingsStore().save(everything_set()));
        QVERIFY(SettingsStore().save(settings)); // unset fields must not survive
        SettingsStore copy(QStringLiteral("svterminal"), QStringLiteral("copy"));
        QFile::remove(copy.file_name());
        QVERIFY(QFile::copy(file_name, copy.file_name()));
        QString message = QStringLiteral("unset");
        QCOMPARE(copy.load(&message).to_map(), settings.to_map());
        QCOMPARE(message, QString());
        // Every value is text a person can read and edit.
        QFile text(file_name);
        QVERIFY(text.open(QIODevice::ReadOnly));
        QVERIFY(!text.readAll().contains("@Variant"));
    }

    void unreadable_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("port_name"); // empty: unset
        QTest::addColumn<QStringList>("named"); // keys the message must name
        QTest::addColumn<bool>("reported");
        QTest::addColumn<int>("outputs"); // output entries read
        QTest::newRow("garbage bytes") << QByteArray("\x89PNG\r\n\x1a\n\x00\xff\xfe[[=\x01", 16)
                                       << QString() << QStringList() << true << 0;
        QTest::newRow("broken section")
            << QByteArray("[General\nformat=1\n") << QString() << QStringList() << true << 0;
        QTest::newRow("wrong type") << QByteArray("format=1\n[port]\nname=COM3\nbaud=fast\n")
                                    << "COM3" << QStringList{"port/baud"} << true << 0;
        QTest::newRow("out of range")
            << QByteArray("format=1\n[instrument]\nrate=31\n[port]\nname=COM3\n[trend]\nspan=600\n")
            << "COM3" << QStringList{"instrument/rate", "trend/span"} << true << 0;
        QTest::newRow("limits crossed")
            << QByteArray("format=1\n[quality]\nrange_low=1600\nrange_high=1400\n") << QString()
            << QStringList{"quality/range_low", "quality/range_high"} << true << 0;
        QTest::newRow("missing keys")
            << QByteArray("format=1\n[port]\nname=COM3\n") << "COM3" << QStringList() << false << 0;
        QTest::newRow("later version") << QByteArray("format=7\n[port]\nname=COM3\nflow=rts\n")
                                       << "COM3" << QStringList() << true << 0;
        // Each output is checked when applied: the damaged one goes, the other stays.
        QTest::newRow("one output damaged")
            << QByteArray("format=1\n[port]\nname=COM3\n[outputs]\n1\\kind=udp\n1\\port=40a\n"
                          "2\\kind=udp\n2\\host=127.0.0.1\n2\\port=4002\nsize=2\n")
            << "COM3" << QStringList() << false << 2;
    }

    // Whatever is stored, load() gives settings; a message says what was lost,
    // once: the next save writes a file that reads back clean.
    void unreadable()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, port_name);
        QFETCH(QStringList, named);
        QFETCH(bool, reported);
        QFETCH(int, outputs);
        QFile out(file_name);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();

        SettingsStore store;
        QString message;
        const StationSettings loaded = store.load(&message);
        QCOMPARE(loaded.port_name.value_or(QString()), port_name);
        QCOMPARE(!message.isEmpty(), reported);
        for (const QString &key : named)
            QVERIFY2(message.contains(key), qPrintable(message));
        QVERIFY(!loaded.baud && !loaded.output_rate && !loaded.range_low && !loaded.range_high);
        QCOMPARE(loaded.outputs.value_or(QVariantList()).size(), outputs);
        // The file as it was is kept before anything is written over what was lost.
        const QStringList kept = QDir(QFileInfo(file_name).path())
                                     .entryList({QFileInfo(file_name).fileName() + ".damaged-*"});
        QCOMPARE(kept.size(),
                 int(reported && !QByteArray(QTest::currentDataTag()).startsWith("later")));
        for (const QString &copy : kept) {
            QFile old(QFileInfo(file_name).dir().filePath(copy));
            QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == file);
            QVERIFY2(message.contains(copy), qPrintable(message));
            old.remove();
        }

        // Written again even though nothing changed: the loss is told only once.
        QVERIFY(store.save_if_changed(loaded));
        QCOMPARE(SettingsStore().load(&message).to_map(), loaded.to_map());
        QCOMPARE(message, QString());
    }

    // A file the previous version wrote, with the outputs and alarms as binary
    // values, still reads.
    void earlier_binary_values()
    {
        {
            QSettings earlier(file_name, QSettings::IniFormat);
            earlier.setValue("format", 1);
            earlier.setValue("outputs/list", QVariantList{QVariantMap{{"kind", "udp"}}});
            earlier.setValue("alarms/settings", QVariantMap{{"spikes", false}});
        }
        QString message;
        const StationSettings loaded = SettingsStore().load(&message);
        QCOMPARE(message, QString());
        QCOMPARE(loaded.outputs->size(), 1);
        QCOMPARE(loaded.alarms->value("spikes"), QVariant(false));
    }

    // Nothing reaches the disk unless a save is asked for, and a cheap save
    // writes only what changed.
    void writes_only_when_asked()
    {
        SettingsStore store;
        store.load();
        QVERIFY(!QFile::exists(file_name));
        QVERIFY(store.save(everything_set()));
        QVERIFY(QFile::remove(file_name));
        QVERIFY(store.save_if_changed(everything_set()));
        QVERIFY(!QFile::exists(file_name));

        StationSettings changed = everything_set();
        changed.depth = 10.0;
        QVERIFY(store.save_if_changed(changed));
        QCOMPARE(SettingsStore().load().depth, changed.depth);

        SettingsStore blocked(QStringLiteral("svterminal"), QStringLiteral("blocked"));
        QVERIFY(QDir().mkpath(blocked.file_name())); // a folder where the file should be
        QVERIFY(!blocked.save(changed));
        QVERIFY(!blocked.save_if_changed(changed));
    }

    void profiles()
    {
        SettingsStore store;
        const QString vessel = QStringLiteral("科考船/A 号\\1%2");
        StationSettings bench;
        bench.port_name = QStringLiteral("COM9");
        QVERIFY(store.save_profile(vessel, everything_set()));
        // Saved over, a profile keeps none of its keys the new settings lack, nor
        // one a later version wrote.
        QVERIFY(store.save_profile(QStringLiteral("Lab"), everything_set()));
        QSettings(file_name, QSettings::IniFormat).setValue("profiles/Lab/port/flow", "rts");
        QVERIFY(store.save_profile(QStringLiteral("Lab"), bench));
        QVERIFY(!QSettings(file_name, QSettings::IniFormat).contains("profiles/Lab/port/flow"));
        QVERIFY(!store.save_profile(QStringLiteral("  "), bench));
        QCOMPARE(store.profiles(), (QStringList{"Lab", vessel}));
        QString message;
        store.load(&message);
        QCOMPARE(message, QString()); // profiles are not taken for damage

        QTemporaryDir elsewhere;
        const QString exported = elsewhere.filePath(QStringLiteral("vessel.ini"));
        QVERIFY(store.export_profile(vessel, exported));
        QVERIFY(!store.export_profile(QStringLiteral("nobody"), exported + "2", &message));
        QVERIFY(store.remove_profile(vessel));
        QVERIFY(!store.remove_profile(vessel));
        QCOMPARE(store.profiles(), QStringList{"Lab"});
        QVERIFY(!store.load_profile(vessel));

        QVERIFY(
            !store.import_profile(file_name, QStringLiteral("x"), &message)); // no settings at top
        QVERIFY(!message.isEmpty());
        QVERIFY(store.import_profile(exported, vessel, &message));
        QCOMPARE(message, QString());
        QCOMPARE(store.load_profile(vessel)->to_map(), everything_set().to_map());
        QCOMPARE(store.load_profile(QStringLiteral("Lab"))->to_map(), bench.to_map());
    }

    // Settings are compared and saved a moment after the operator's last touch,
    // once for a burst of them, and now and then without one; a pointer passing
    // over the window or a button held down is no reason to. Saves are waited
    // for, and checked only against times they must not come before.
    void paced_saves_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("touches");
        QTest::addColumn<int>("expected"); // saves after the touches; -1: untouched, the slow pace
        const int click = QEvent::MouseButtonRelease, key = QEvent::KeyRelease;
        QTest::newRow("a click") << click << 1 << 1;
        QTest::newRow("a key") << key << 1 << 1;
        QTest::newRow("the wheel") << int(QEvent::Wheel) << 1 << 1;
        QTest::newRow("typing") << key << 6 << 1;
        QTest::newRow("pointer moving") << int(QEvent::MouseMove) << 6 << 0;
        QTest::newRow("button held") << int(QEvent::MouseButtonPress) << 1 << 0;
        QTest::newRow("untouched") << int(QEvent::None) << 0 << -1;
    }

    void paced_saves()
    {
        QFETCH(int, type);
        QFETCH(int, touches);
        QFETCH(int, expected);
        // Touches 20 ms apart, well inside the quarter second a save waits for
        // them; a timer may fire up to 5 % early, so times are checked to nine tenths.
        const int after_touch_ms = 250, every_ms = expected < 0 ? 200 : 60000;
        QObject window;
        SavePacer pacer(after_touch_ms, every_ms);
        pacer.watch(&window);
        QElapsedTimer clock;
        clock.start();
        pacer.start();
        QList<qint64> saves;
        connect(&pacer, &SavePacer::due, this, [&] { saves << clock.elapsed(); });
        qint64 last_touch = 0;
        for (int i = 0; i < touches; ++i) {
            QEvent touch{QEvent::Type(type)};
            last_touch = clock.elapsed();
            QCoreApplication::sendEvent(&window, &touch);
            QTest::qWait(20);
        }
        if (expected < 0) {
            QVERIFY(QTest::qWaitFor([&] { return saves.size() >= 3; }, 10000));
            for (int k = 0; k < saves.size(); ++k)
                QVERIFY2(saves[k] >= (k + 1) * every_ms * 9 / 10, qPrintable(QString::number(k)));
            return;
        }
        if (expected > 0) {
            QVERIFY(QTest::qWaitFor([&] { return !saves.isEmpty(); }, 10000));
            QVERIFY2(
                saves.first() >= last_touch + after_touch_ms * 9 / 10,
                qPrintable(
                    QStringLiteral("%1 after the last touch").arg(saves.first() - last_touch)));
        }
        QTest::qWait(expected > 0 ? 200 : after_touch_ms + 200); // for a save too many to show
        QCOMPARE(saves.size(), expected);
    }

private:
    QTemporaryDir folder;
    QString file_name;
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
