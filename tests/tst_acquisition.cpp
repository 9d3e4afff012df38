// The acquisition pipeline and the command player, on temporary files with an
// injected clock: what a line becomes in every file and consumer, in order.

#include "acquisition.h"
#include "commandplayer.h"

#include <QSignalSpy>
#include <QtTest>

static QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A consumer that says what it saw, and sends each good reading to `sends`
// destinations, as an output would.
struct SeenSink : ReadingSink
{
    QStringList seen;
    int sends = 0;
    int take(const Measurement &m) override
    {
        seen << QString("%1 %2 %3")
                    .arg(m.reading.speed_text.trimmed(), quality_name(m.quality), m.average);
        return m.quality == Quality::ok ? sends : 0;
    }
    void reject(const Reading &line, qint64) override { seen << "reject " + line.line.trimmed(); }
    void event(const QString &name, qint64) override { seen << name; }
    void stale(bool stale, qint64 at) override
    {
        seen << QString("stale %1 %2").arg(stale).arg(at);
    }
};

class TestAcquisition : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();

private slots:
    // Rows as a CSV reader sees them: a reading read before a loss comes before
    // the loss, times never go backwards, and each row says how many outputs
    // sent it.
    void log_rows_in_order()
    {
        const QString raw_path = dir.filePath("order.txt");
        Acquisition acquisition;
        SeenSink sink;
        sink.sends = 2;
        acquisition.add_sink(&sink);
        acquisition.restart_average(2);
        QVERIFY(acquisition.start_recording(raw_path, t0, nullptr));
        acquisition.take("$ 1500.125 15.250\r\n$ 1500.", t0 + 5);
        acquisition.lost("375\r\n$ abc\r\n", t0 + 9);
        acquisition.note("port_back", t0 - 60000); // the clock was set back
        acquisition.take("$ 1630.000\r\n", t0 - 59000);
        acquisition.flush_log(t0 + 999);
        QCOMPARE(contents(acquisition.log().file_name()).count('\n'), 1); // only the header so far
        acquisition.flush_log(t0 + 1000);
        const QList<QByteArray> rows = contents(acquisition.log().file_name()).split('\n');
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows.at(0),
                 "time_utc,speed_m_s,temperature_c,average_m_s,quality,event,forwarded,"
                 "pressure_dbar,depth_m,latitude,longitude,fix_quality,fix_age_s,"
                 "clock_offset_ms");
        const QByteArray unknown = ",,,,,,,"; // no pressure, depth or position
        QCOMPARE(rows.at(1), "2026-12-07T08:00:00.005Z,1500.125,15.250,,ok,,2" + unknown);
        QCOMPARE(rows.at(2), "2026-12-07T08:00:00.009Z,1500.375,,1500.25,ok,,2" + unknown);
        QCOMPARE(rows.at(3), "2026-12-07T08:00:00.009Z,,,,,port_lost," + unknown);
        QCOMPARE(rows.at(4), "2026-12-07T08:00:00.009Z,,,,,port_back," + unknown);
        QCOMPARE(rows.at(5), "2026-12-07T08:00:00.009Z,1630.000,,1500.25,range,,0" + unknown);
        QCOMPARE(sink.seen,
                 QStringList({"1500.125 ok ", "1500.375 ok 1500.25", "reject $ abc", "port_lost",
                              "port_back", "1630.000 range 1500.25"}));
        acquisition.stop_recording(true, t0 + 2000);
    }

    void new_average_count_starts_a_new_block()
    {
        Acquisition acquisition;
        acquisition.restart_average(3);
        acquisition.take("$ 1500.000\r\n$ 1501.000\r\n", t0);
        acquisition.restart_average(2);
        acquisition.take("$ 1510.000\r\n", t0);
        QVERIFY(acquisition.shown_average().isEmpty());
        acquisition.take("$ 1512.000\r\n", t0);
        QCOMPARE(acquisition.shown_average().toDouble(), 1511.0);
    }

    void average_blocks_data()
    {
        QTest::addColumn<bool>("good_only");
        QTest::addColumn<QByteArray>("before_loss");
        QTest::addColumn<QByteArray>("after_loss");
        QTest::addColumn<QString>("shown"); // the average displayed at the end
        const QByteArray lifted = "$ 1500.000\r\n$ 0.000\r\n$ 1502.000\r\n";
        QTest::newRow("every valid reading") << false << lifted << QByteArray() << "1000.667";
        QTest::newRow("good readings only") << true << lifted + "$ 1501.000\r\n"
                                            << QByteArray() << "1501";
        QTest::newRow("a loss starts a new block")
            << false << QByteArray("$ 1500.000\r\n$ 1500.000\r\n")
            << QByteArray("$ 1510.000\r\n$ 1510.000\r\n$ 1510.000\r\n") << "1510";
    }

    // A probe lifted out of the water reads 0: by default it counts, as every
    // valid reading does; with good readings only the block skips it. Either
    // way a block never spans a loss of the device.
    void average_blocks()
    {
        QFETCH(bool, good_only);
        QFETCH(QByteArray, before_loss);
        QFETCH(QByteArray, after_loss);
        QFETCH(QString, shown);
        Acquisition acquisition;
        acquisition.restart_average(3);
        acquisition.set_average_good_only(good_only);
        acquisition.take(before_loss, t0);
        if (!after_loss.isEmpty()) {
            acquisition.lost(QByteArray(), t0 + 1);
            acquisition.take(after_loss, t0 + 2);
        }
        QCOMPARE(acquisition.shown_average(), shown);
    }

    // The raw recording keeps every byte the instrument sent, its replies to a
    // configuration too, and starts with what arrived while the file was chosen.
    void raw_recording_around_dialogs_and_replies()
    {
        const QString path = dir.filePath("raw.txt");
        Acquisition acquisition;
        QSignalSpy replies(&acquisition, &Acquisition::replies);
        acquisition.take("$ 1500.000\r\n", t0); // before anything: not recorded
        acquisition.hold_raw(true);
        acquisition.take("$ 1501.000\r\n", t0 + 1);
        QVERIFY(acquisition.start_recording(path, t0 + 2, nullptr));
        acquisition.hold_raw(false);
        acquisition.set_configuring(true);
        acquisition.take("uart bps 9600 ok\r\n", t0 + 3);
        acquisition.set_configuring(false);
        acquisition.take("$ 1502.000\r\n", t0 + 4);
        acquisition.stop_recording(true, t0 + 5);
        const QByteArray start = Recorder::date_time_line(QDateTime::fromMSecsSinceEpoch(t0 + 2));
        const QByteArray end = Recorder::date_time_line(QDateTime::fromMSecsSinceEpoch(t0 + 5));
        QCOMPARE(contents(path), start + "$ 1501.000\r\nuart bps 9600 ok\r\n$ 1502.000\r\n" + end);
        QCOMPARE(replies.size(), 1);
        QCOMPARE(replies.at(0).at(0).toString(), "uart bps 9600 ok\r\n");
        // A cancelled dialog forgets what it held.
        acquisition.hold_raw(true);
        acquisition.take("$ 1503.000\r\n", t0 + 6);
        acquisition.hold_raw(false);
        QVERIFY(acquisition.start_recording(dir.filePath("raw2.txt"), t0 + 7, nullptr));
        QCOMPARE(contents(dir.filePath("raw2.txt")).count("$"), 0);
        acquisition.stop_recording(false, t0 + 8);
    }

    void write_failure_closes_both_files()
    {
        Acquisition acquisition;
        QSignalSpy failed(&acquisition, &Acquisition::recording_failed);
        QString log_error;
        QVERIFY(!acquisition.start_recording(dir.filePath("missing/raw.txt"), t0, &log_error));
        QVERIFY(acquisition.start_recording(dir.filePath("disk.txt"), t0, &log_error));
        QVERIFY(log_error.isEmpty());
        QFile *raw = acquisition.recorder().file_object(); // the disk fills up
        raw->close();
        raw->setFileName("/dev/full");
        QVERIFY(raw->open(QIODevice::WriteOnly));
        acquisition.take("$ 1500.000\r\n", t0 + 1);
        QCOMPARE(failed.size(), 1);
        QVERIFY(!acquisition.recording());
        QVERIFY(!acquisition.log().active());
    }

    // Every line, whatever it is, after the UTC time its end came: lines cut
    // between chunks, every kind of line end, what came while the file was
    // chosen (with its own time), a reply, and the last line cut by the stop.
    void line_log_stamps_every_line()
    {
        QTemporaryDir here;
        Acquisition acquisition;
        acquisition.set_line_log(true);
        acquisition.hold_raw(true);
        acquisition.take("$ 1500.000\r\n$ 15", t0 + 1);
        QVERIFY(acquisition.start_recording(here.filePath("x.txt"), t0 + 5, nullptr));
        acquisition.hold_raw(false);
        acquisition.take("01.000\r\njunk\x01\n\rOK\r", t0 + 7);
        acquisition.set_configuring(true);
        acquisition.take("uart bps 9600\r\n$ 1502", t0 + 9);
        acquisition.set_configuring(false);
        acquisition.stop_recording(true, t0 + 11);
        const auto at = [](qint64 ms) {
            return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC)
                       .toString(Qt::ISODateWithMs)
                       .toLatin1()
                + '\t';
        };
        QCOMPARE(contents(here.filePath("x.lines.txt")),
                 at(t0 + 1) + "$ 1500.000\n" + at(t0 + 7) + "$ 1501.000\n" + at(t0 + 7)
                     + "junk\x01\n" + at(t0 + 7) + "\n" + at(t0 + 7) + "OK\n" + at(t0 + 9)
                     + "uart bps 9600\n" + at(t0 + 11) + "$ 1502\n");
    }

    void replaced_recording_replaces_its_log_data()
    {
        QTest::addColumn<QByteArray>("beside"); // what is in x.csv before; empty: our last log
        QTest::addColumn<QString>("log");
        QTest::newRow("our log") << QByteArray() << "x.csv";
        QTest::newRow("someone else's table") << QByteArray("a,b\n1,2\n") << "x (2).csv";
    }

    // Recording again into the same file, once the operator confirmed it: the
    // old log does not stay beside the new recording, but a file that is not a
    // log of ours is never replaced.
    void replaced_recording_replaces_its_log()
    {
        QFETCH(QByteArray, beside);
        QFETCH(QString, log);
        QTemporaryDir here;
        Acquisition acquisition;
        QVERIFY(acquisition.start_recording(here.filePath("x.txt"), t0, nullptr));
        acquisition.take("$ 1500.000\r\n", t0 + 1);
        acquisition.stop_recording(true, t0 + 2);
        if (!beside.isEmpty()) {
            QFile table(here.filePath("x.csv"));
            QVERIFY(table.open(QIODevice::WriteOnly | QIODevice::Truncate)
                    && table.write(beside) > 0);
        }
        QVERIFY(acquisition.start_recording(here.filePath("x.txt"), t0 + 3, nullptr));
        acquisition.take("$ 1501.000\r\n", t0 + 4);
        acquisition.stop_recording(true, t0 + 5);
        QCOMPARE(acquisition.log().file_name(), here.filePath(log));
        const QByteArray rows = contents(here.filePath(log));
        QVERIFY(rows.contains("1501.000") && !rows.contains("1500.000"));
        if (!beside.isEmpty())
            QCOMPARE(contents(here.filePath("x.csv")), beside);
    }

    void stale_told_once()
    {
        Acquisition acquisition;
        SeenSink sink;
        acquisition.add_sink(&sink);
        acquisition.check_stale(t0); // nothing seen yet: nothing to go stale
        acquisition.take("$ 1500.000\r\n", t0);
        acquisition.check_stale(t0 + 2999);
        acquisition.check_stale(t0 + 3400); // looked at late: stamped when it went stale
        acquisition.check_stale(t0 + 4000);
        acquisition.take("$ 1500.000\r\n", t0 + 5000);
        QCOMPARE(sink.seen,
                 QStringList({"1500.000 ok ", QString("stale 1 %1").arg(t0 + 3000),
                              QString("stale 0 %1").arg(t0 + 5000), "1500.000 ok "}));
    }

    void player_paces_and_guards_data()
    {
        QTest::addColumn<int>("fail_at"); // the write that the port refuses; -1 none
        QTest::addColumn<int>("abort_at"); // the write during which the device goes; -1 none
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<int>("result");
        QTest::newRow("played whole")
            << -1 << -1 << QByteArray("ab\rdone") << int(CommandPlayer::done);
        QTest::newRow("refused write")
            << 2 << -1 << QByteArray("ab") << int(CommandPlayer::write_failed);
        QTest::newRow("device lost") << -1 << 1 << QByteArray("ab") << int(CommandPlayer::aborted);
    }

    // Characters go 20 ms apart on the player's clock, a second sequence asked
    // for meanwhile is refused, and a failed write or a loss ends the sequence.
    void player_paces_and_guards()
    {
        QFETCH(int, fail_at);
        QFETCH(int, abort_at);
        QFETCH(QByteArray, wire);
        QFETCH(int, result);
        qint64 clock = 0;
        QByteArray sent;
        QVector<qint64> times;
        CommandPlayer *player = nullptr;
        CommandPlayer::Result inner = CommandPlayer::done;
        auto write = [&](const QByteArray &bytes) {
            if (times.size() == fail_at)
                return false;
            if (times.size() == abort_at)
                player->abort();
            if (times.isEmpty())
                inner = player->play({{"x", false, 0}});
            sent += bytes;
            times << clock;
            return true;
        };
        CommandPlayer paced(write, [&](int ms) {
            clock += ms;
            return true;
        });
        player = &paced;
        const auto got = paced.play({{"ab", true, 100}, {"\r", false, 300}, {"done", false, 0}});
        QCOMPARE(int(got), result);
        QCOMPARE(int(inner), int(CommandPlayer::busy));
        QCOMPARE(sent, wire);
        QVERIFY(!paced.playing());
        if (result == CommandPlayer::done)
            QCOMPARE(times, QVector<qint64>({0, 20, 140, 440}));
    }
};

QTEST_GUILESS_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
