// Small pieces of the program's logic, driven without a window.

#include "alarmsettings.h"
#include "commandsequence.h"
#include "frmain.h"
#include "lazytab.h"
#include "manualclock.h"
#include "onscreen.h"
#include "outputs/output_test_support.h"
#include "pendingframe.h"
#include "portsession.h"
#include "ptypair.h"
#include "screenpainter.h"
#include "signalwatch.h"
#include "stalewatch.h"
#include "stationbinding.h"
#include "statuspane.h"

#include <QScrollBar>
#include <QTextEdit>

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

Q_DECLARE_METATYPE(CommandStep)

class TestCore : public QObject
{
    Q_OBJECT

private slots:
    void command_sequences_data()
    {
        QTest::addColumn<QVector<CommandStep>>("steps");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("pauses_ms");
        QTest::newRow("send, defaults")
            << send_config_steps("9600", 8, true)
            << QByteArray("\ruart bps 9600\rdata rate 8\rwater temp enable\r") << 1100;
        QTest::newRow("send, 115200, 30, no temperature")
            << send_config_steps("115200", 30, false)
            << QByteArray("\ruart bps 115200\rdata rate 30\rwater temp disable\r") << 1100;
        QTest::newRow("save") << save_config_steps() << QByteArray("done\ry\r") << 700;
    }

    // Commands are typed one character at a time; each lone "\r" goes whole.
    void command_sequences()
    {
        QFETCH(QVector<CommandStep>, steps);
        QFETCH(QByteArray, line);
        QFETCH(int, pauses_ms);
        QByteArray sent;
        int pauses = 0;
        for (const CommandStep &step : steps) {
            QCOMPARE(step.one_by_one, step.bytes != "\r" && step.bytes != "y");
            sent += step.bytes;
            pauses += step.pause_ms;
        }
        QCOMPARE(sent, line);
        QCOMPARE(pauses, pauses_ms);
    }

    void stale_data()
    {
        QTest::addColumn<QVector<qint64>>("seen");
        QTest::addColumn<qint64>("fresh_until");
        QTest::newRow("nothing seen yet") << QVector<qint64>{} << qint64(0);
        QTest::newRow("8 lines/s: 3 s") << QVector<qint64>{1000, 1125, 1250} << qint64(4250);
        QTest::newRow("one line in 5 s: three intervals")
            << QVector<qint64>{0 + 1, 5001, 10001} << qint64(25001);
        QTest::newRow("a long gap does not stretch it")
            << QVector<qint64>{1000, 1125, 1250, 61250} << qint64(64250);
    }

    void stale()
    {
        QFETCH(QVector<qint64>, seen);
        QFETCH(qint64, fresh_until);
        StaleWatch watch;
        for (qint64 t : seen)
            watch.seen(t);
        QCOMPARE(watch.deadline(), fresh_until);
        if (fresh_until > 0) {
            QVERIFY(!watch.stale(fresh_until - 1));
            QVERIFY(watch.stale(fresh_until));
        }
    }

    // A frame that gathers many lines leaves the displays and the pane as the
    // lines one by one would have, keeping only what the pane keeps.
    void frame_batches_like_lines()
    {
        PendingFrame frame(100);
        QVERIFY(frame.empty());
        QString all;
        for (int i = 0; i < 500; ++i) {
            const QString line = QStringLiteral("$ %1 15.0\r\n").arg(1000 + i);
            frame.set_speed(QString::number(1000 + i));
            frame.append_pane(line);
            all += line;
        }
        frame.set_average("1250");
        const PendingFrame::Frame batch = frame.take(0);
        QVERIFY(frame.empty());
        QCOMPARE(batch.speed, QString("1499"));
        QCOMPARE(batch.average, QString("1250"));
        QVERIFY(!(batch.changed & PendingFrame::Temperature));
        QVERIFY(all.endsWith(batch.pane));
        QVERIFY(batch.pane.count('\n') >= 100 && batch.pane.count('\n') <= pane_most(100));
    }

    // At most ten frames a second, each with the newest value; a line after a
    // quiet frame's time is drawn at once, others wait at most one frame.
    void frames_paced_data()
    {
        QTest::addColumn<int>("line_ms");
        QTest::addColumn<int>("longest_wait");
        QTest::newRow("lone lines") << 150 << 0;
        QTest::newRow("30 lines/s") << 33 << PendingFrame::frame_ms;
        QTest::newRow("1000 lines/s") << 1 << PendingFrame::frame_ms;
    }

    void frames_paced()
    {
        QFETCH(int, line_ms);
        QFETCH(int, longest_wait);
        PendingFrame frame(0);
        qint64 due = -1, drawn = -PendingFrame::frame_ms, oldest = -1;
        int frames = 0;
        for (qint64 now = 0; now < 3000; ++now) {
            if (now % line_ms == 0) {
                frame.set_speed(QString::number(now));
                oldest = oldest < 0 ? now : oldest;
                due = due < 0 ? now + frame.wait_ms(now) : due;
            }
            if (now != due)
                continue;
            QCOMPARE(frame.take(now).speed, QString::number(now - now % line_ms));
            QVERIFY(now - drawn >= PendingFrame::frame_ms);
            QVERIFY(now - oldest <= longest_wait);
            drawn = now, due = -1, oldest = -1, ++frames;
        }
        QVERIFY(frames >= 3000 / qMax(line_ms, int(PendingFrame::frame_ms)) - 1);
    }

    // A pane fed a few lines at a time, as the instrument usually sends, keeps
    // only its newest paragraphs and ends at its last line.
    void pane_trimmed_a_few_lines_at_a_time()
    {
        QTextEdit pane;
        const int keep = 50;
        for (int i = 0; i < 400; ++i)
            append_to_pane(&pane, QStringLiteral("$ %1 15.0\n$ %1 15.1\n").arg(1000 + i), keep);
        const int blocks = pane.document()->blockCount();
        QVERIFY2(blocks >= keep && blocks <= pane_most(keep) + 2,
                 qPrintable(QString::number(blocks)));
        QVERIFY(pane.toPlainText().endsWith("$ 1399 15.1\n"));
    }

    // The scroll bar of a pane growing a line at a time is always drawn as it
    // stands: a handle that shortens and moves down, or that the operator moves
    // back up, is not left where it was.
    void pane_scroll_bar_shows_where_it_is()
    {
        QTextEdit pane;
        set_up_pane(&pane);
        pane.resize(300, 120);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QScrollBar *bar = pane.verticalScrollBar();
        for (int i = 0; i < 40; ++i) {
            append_to_pane(&pane, QStringLiteral("$ %1 15.0\n").arg(1000 + i));
            if (bar->isVisible())
                QTRY_COMPARE_WITH_TIMEOUT(on_screen(bar), drawn_now(bar), 1000);
        }
        QVERIFY(bar->isVisible());
        // The operator scrolls back up.
        bar->setValue(bar->minimum() + 1);
        QTRY_COMPARE_WITH_TIMEOUT(on_screen(bar), drawn_now(bar), 1000);
    }

    // After a burst the pane shows its last line, for the note that follows.
    void pane_ends_at_its_last_line()
    {
        QTextEdit pane;
        pane.resize(400, 200);
        pane.show();
        // 500 lines a second, ten turns a second, until the pane trims.
        for (int turn = 0; turn < 120; ++turn) {
            QString lines;
            for (int i = 0; i < 50; ++i)
                lines += QStringLiteral("$ %1 15.0\n").arg(1000 + i);
            append_to_pane(&pane, lines);
            QCoreApplication::processEvents();
        }
        append_to_pane(&pane, "note\n");
        const QPoint bottom(5, pane.viewport()->height() - 5);
        QVERIFY(pane.cursorForPosition(bottom).blockNumber() >= pane.document()->blockCount() - 2);
    }

    void port_errors_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("lost");
        QTest::newRow("device removed") << int(QSerialPort::ResourceError) << true;
        QTest::newRow("read failed") << int(QSerialPort::ReadError) << true;
        QTest::newRow("timeout") << int(QSerialPort::TimeoutError) << false;
    }

    // Errors that mean the device is gone end the reading and start the retries;
    // the others leave the port open.
    void port_errors()
    {
        QFETCH(int, error);
        QFETCH(bool, lost);
        PtyPair pty;
        QSerialPort port;
        PortSession session(&port);
        QSignalSpy losses(&session, &PortSession::lost);
        PortSettings settings;
        settings.name = pty.slave_path();
        QVERIFY(session.open(settings));
        emit port.errorOccurred(QSerialPort::SerialPortError(error));
        QCOMPARE(losses.size(), lost ? 1 : 0);
        QCOMPARE(port.isOpen(), !lost);
        QCOMPARE(session.state(), lost ? PortSession::Waiting : PortSession::Open);
    }

    // A second program, or a second copy of this one, that names the same device
    // differently is refused as busy instead of sharing its bytes.
    void one_device_one_lock()
    {
        PtyPair pty;
        QTemporaryDir dir;
        const QString link = dir.filePath("COM9");
        QVERIFY(QFile::link(pty.slave_path(), link));
        QSerialPort first_port, second_port;
        PortSession first(&first_port), second(&second_port);
        PortSettings settings;
        settings.name = link;
        QVERIFY(first.open(settings));
        settings.name = pty.slave_path();
        QVERIFY(!second.open(settings));
        QVERIFY2(second.failure_reason().contains("占用"), qPrintable(second.failure_reason()));
        first.close();
        QVERIFY(second.open(settings));
    }

    void port_failure_reasons_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "/dev/ttyNOTHERE"
                                 << "找不到该串口";
        QTest::newRow("missing COM name") << "COM11"
                                          << "找不到该串口";
        QTest::newRow("directory") << "/tmp"
                                   << "不是串口";
        QTest::newRow("regular file") << QFINDTESTDATA("tst_core.cpp") << "不是串口";
        QTest::newRow("not a terminal") << "/dev/null"
                                        << "不是串口";
    }

    void port_failure_reasons()
    {
        QFETCH(QString, device);
        QFETCH(QString, reason);
        QSerialPort port;
        PortSession session(&port);
        PortSettings settings;
        settings.name = device;
        QVERIFY(!session.open(settings));
        QVERIFY(!session.active());
        QVERIFY2(session.failure_reason().contains(reason), qPrintable(session.failure_reason()));
    }

    void termination_signals()
    {
        SignalWatch watch;
        QSignalSpy received(&watch, &SignalWatch::received);
        for (int number : {SIGTERM, SIGHUP, SIGINT})
            ::raise(number);
        QTRY_COMPARE(received.count(), 3);
        QCOMPARE(received.at(0).at(0).toInt(), int(SIGTERM));
    }

    // Every remembered field goes into the control an operator would use and
    // comes back out of it unchanged.
    void settings_reach_the_window()
    {
        StationSettings wanted = StationSettings::defaults();
        wanted.port_name = "/dev/ttyUSB3";
        wanted.baud = 38400;
        wanted.parity = int(QSerialPort::EvenParity);
        wanted.instrument_baud = "115200";
        wanted.output_rate = 20;
        wanted.temperature_output = false;
        wanted.average_count = 12;
        wanted.range_low = 1450;
        wanted.range_high = 1550;
        wanted.spike_threshold = 0.5;
        wanted.salinity = 0.5;
        wanted.depth = 120;
        wanted.trend_span_s = 1800;
        wanted.outputs = QVariantList{parsed("udp:127.0.0.1:5602:svt").to_map()};
        AlarmSettings alarms;
        alarms.set_enabled(Alarm::difference, true);
        alarms.spike_limit = 3;
        wanted.alarms = alarms.to_map();
        wanted.recording_folder = QDir::tempPath();
        wanted.trend_window_geometry = QByteArray("\x01\xd9\xd0\xcb", 4);
        frmain window;
        QStringList problems;
        apply_station_settings(window, wanted, &problems);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(", ")));
        // The tabs not shown yet are not built; once built they show the same.
        const QList<LazyTab *> tabs = window.findChildren<LazyTab *>();
        QVERIFY(!tabs.isEmpty());
        for (bool built : {false, true}) {
            for (LazyTab *tab : tabs)
                QVERIFY2(tab->built() == built, built ? "built" : "not built");
            const QVariantMap got = collect_station_settings(window).to_map();
            for (const QString &key : wanted.to_map().keys())
                QVERIFY2(got.value(key) == wanted.to_map().value(key), qPrintable(key));
            for (LazyTab *tab : tabs)
                tab->content();
        }
    }

    void pane_arrival_times_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("pane");
        QTest::newRow("off") << false << "$ 1500.000\nOK\nA\n";
        QTest::newRow("on") << true
                            << "08:00:00.005Z $ 1500.000\n08:00:00.007Z OK\n08:00:00.009Z A\n";
    }

    // Each line the instrument sent after the UTC time it came, replies cut
    // between chunks included.
    void pane_arrival_times()
    {
        QFETCH(bool, on);
        QFETCH(QString, pane);
        frmain window;
        ManualClock clock(QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch());
        window.station()->set_clock(&clock);
        window.painter()->set_arrival_times(on);
        clock.advance(5);
        window.station()->take("$ 1500.000\r\n");
        window.station()->acquisition().set_configuring(true);
        clock.advance(2);
        window.station()->take("OK\n");
        clock.advance(2);
        window.station()->take("A");
        window.station()->take("\n");
        QTRY_COMPARE(window.status_textedit->toPlainText(), pane);
        window.station()->set_clock(nullptr);
    }
};

QTEST_MAIN(TestCore)
#include "tst_core.moc"
