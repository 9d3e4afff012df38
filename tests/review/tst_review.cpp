// Logs and raw recordings read back, their figures and the PDF report, on
// small files in a temporary folder.

#include "logreader.h"
#include "qualitycheck.h"
#include "rawrecordingparser.h"
#include "reportcommand.h"
#include "reviewfigures.h"
#include "reviewsamples.h"
#include "reviewtrack.h"
#include "sessionplot.h"
#include "trackcommand.h"
#include "trackexport.h"

#include <QImage>
#include <QPainter>

#include <QtTest>

class TestReview : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QVector<int>>("counts"); // kind, readings, events, rejected, cut off
        QTest::addColumn<QList<qint64>>("bad_lines");

        const int csv = int(ReviewLog::Kind::csv), raw = int(ReviewLog::Kind::raw);
        const QList<qint64> none;
        QTest::newRow("log") << header + row(t0, 1500, 10) + marker(t0 + 500, "port_lost")
                + row(t0 + 900, 1501, NAN)
                             << QVector<int>{csv, 2, 1, 0, 0} << none;
        QTest::newRow("old log, CRLF, BOM")
            << "\xEF\xBB\xBF"
               "time_utc,speed_m_s,temperature_c,average_m_s,quality,event\r\n"
                + utc(t0) + ",1500.1,,,range,\r\n" + utc(t0) + ",,,,,config_start\r\n"
            << QVector<int>{csv, 1, 1, 0, 0} << none;
        QTest::newRow("damaged") << header + row(t0, 1500, 10) + utc(t0)
                + ",15x0,,,ok,,1\n" // 3: a number
                + row(t0 + 100, 1500, 10, "good") // 4: a quality
                + row(t0 + 200, 1500, 10) + "2026-02-30T00:00:00.000Z,1500,,,ok,,1\n" // 6: a date
                + row(t0 + 100, 1500, 10) // 7: back in time
                + utc(t0 + 300) + ",1500,,ok,,1\n" // 8: a field short
                + utc(t0 + 300) + ",,,,,,\n" // 9: neither reading nor event
                + "\n" + row(t0 + 400, 1502, 11) + row(t0 + 500, 1503, 11).left(30) // 12: cut
                                 << QVector<int>{csv, 3, 0, 7, 1}
                                 << QList<qint64>{3, 4, 6, 7, 8, 9, 12};
        QTest::newRow("not a log")
            << QByteArray("time,speed\n1,2\n") << QVector<int>{0, 0, 0, 0, 0} << none;
        QTest::newRow("empty") << QByteArray() << QVector<int>{0, 0, 0, 0, 0} << none;
        const QByteArray lines
            = "$ 1500.000 10.0\r\n$ 15x0\r\nOK\r\n$ 1500.100 10.0\r\n$ 1500.2\r\n";
        const QVector<int> counts{raw, 3, 0, 1, 0};
        QTest::newRow("raw") << stamp(t0) + lines + stamp(t0 + 4000) << counts << none;
        QTest::newRow("raw, no end line") << stamp(t0) + lines << counts << none;
        QTest::newRow("raw, line cut by the end line")
            << stamp(t0) + lines + "$ 1500.3" + stamp(t0 + 4000) << QVector<int>{raw, 3, 0, 1, 1}
            << none;
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<qint64>, bad_lines);
        const ReviewLog log = LogReader().read(write("read.txt", bytes));
        const QVector<int> counts{int(log.kind), log.size(), int(log.events.size()),
                                  int(log.rejected.size()), int(log.truncated)};
        QTEST(counts, "counts");
        QVERIFY(log.speed.size() == size_t(log.size()) && log.quality.size() == size_t(log.size()));
        QCOMPARE(QList<qint64>(log.bad_lines.begin(), log.bad_lines.end()), bad_lines);
        QVERIFY(std::is_sorted(log.time.begin(), log.time.end())
                && std::is_sorted(log.rejected.begin(), log.rejected.end()));
        const QString said = log.problems.join('\n');
        for (qint64 line : bad_lines)
            QVERIFY2(said.contains(QString::number(line)), qPrintable(said));
        QCOMPARE(log.problems.isEmpty(), log.readable() && bad_lines.isEmpty() && !log.truncated);
    }

    void log_values_data()
    {
        QTest::addColumn<QByteArray>("time");
        QTest::addColumn<QByteArray>("fields");
        QTest::addColumn<bool>("readable");
        for (const char *time : {"2026-12-07T08:00:00.125Z", "2028-02-29T23:59:59.999Z",
                                 "1999-12-31T00:00:00.5Z", "2026-01-01T00:00:01Z"})
            QTest::newRow(time) << QByteArray(time)
                                << QByteArray("1489.805,10.0449,1489.8,spike,,2") << true;
        for (const char *time : {"2026-02-29T08:00:00.125Z", "2026-12-07T24:00:00.000Z",
                                 "2026-12-07T08:00:00.Z", "2026-12-07 08:00:00.125Z"})
            QTest::newRow(time) << QByteArray(time) << QByteArray("1500,,,ok,,1") << false;
        QTest::newRow("alarm with a comma")
            << QByteArray("2026-12-07T08:00:00.125Z") << QByteArray(",,,,alarm_on:高,低,") << true;
    }
    void log_values()
    {
        QFETCH(QByteArray, time);
        QFETCH(QByteArray, fields);
        QFETCH(bool, readable);
        const ReviewLog log
            = LogReader().read(write("values.csv", header + time + ',' + fields + '\n'));
        const qint64 ms = QDateTime::fromString(time, Qt::ISODateWithMs).toMSecsSinceEpoch();
        QCOMPARE(log.problems.isEmpty(), readable);
        const bool is_event = fields.startsWith(',');
        QCOMPARE(log.size(), int(readable && !is_event));
        QCOMPARE(int(log.events.size()), int(readable && is_event));
        if (!log.events.empty())
            QCOMPARE(log.events[0].name, QString("alarm_on:高,低"));
        if (log.size() + log.events.size() == 0)
            return;
        QCOMPARE(is_event ? log.events[0].utc_ms : log.time[0], ms);
        if (is_event)
            return;
        QCOMPARE(log.speed[0], 1489.805);
        QCOMPARE(log.temperature[0], 10.0449);
        QCOMPARE(log.average[0], 1489.8f);
        QCOMPARE(Quality(log.quality[0]), Quality::spike);
    }

    // The newest log: the probe's pressure and depth and the position after
    // forwarded; an event may still hold commas.
    void positions()
    {
        const QByteArray newest = "time_utc,speed_m_s,temperature_c,average_m_s,quality,event,"
                                  "forwarded,pressure_dbar,depth_m,latitude,longitude,fix_quality,"
                                  "fix_age_s,clock_offset_ms\n";
        const ReviewLog log = LogReader().read(write(
            "positions.csv",
            newest + utc(t0) + ",1500.000,10.0,,ok,,1,10.351,,48.1173000,-11.5166667,1,0.4,-12\n"
                + utc(t0 + 100) + ",1500.100,10.0,,ok,,1,,,,,,,\n" + utc(t0 + 200)
                + ",,,,,alarm_on:a,b,,,,,,,,\n"));
        QVERIFY2(log.problems.isEmpty(), qPrintable(log.problems.join('\n')));
        QCOMPARE(log.size(), 2);
        QCOMPARE(log.latitude.size(), size_t(2));
        QCOMPARE(log.latitude[0], 48.1173);
        QCOMPARE(log.longitude[0], -11.5166667);
        QVERIFY(std::isnan(log.latitude[1]) && std::isnan(log.longitude[1]));
        QCOMPARE(log.events.at(0).name, QString("alarm_on:a,b"));
    }

    void raw_times_data()
    {
        QTest::addColumn<bool>("end_line");
        QTest::addColumn<qint64>("modified"); // after the start
        QTest::addColumn<qint64>("length"); // the session's, as the reader takes it
        QTest::newRow("end line") << true << qint64(100000) << qint64(8000);
        QTest::newRow("modification time") << false << qint64(6000) << qint64(6000);
        QTest::newRow("copied before its start")
            << false << qint64(-5000) << 4 * RawRecordingParser::nominal_interval_ms;
    }
    void raw_times()
    {
        QFETCH(bool, end_line);
        QFETCH(qint64, modified);
        QFETCH(qint64, length);
        const QByteArray lines = "$ 1500.0\r\n$ 1500.1\r\n$ 1500.2 x\r\n$ 1500.3\r\n";
        QFile file(write("raw_times.txt", stamp(t0) + lines + (end_line ? stamp(t0 + 8000) : "")));
        QVERIFY(file.open(QIODevice::ReadWrite)
                && file.setFileTime(QDateTime::fromMSecsSinceEpoch(t0 + modified),
                                    QFileDevice::FileModificationTime));
        file.close();
        const ReviewLog log = LogReader().read(file.fileName());
        QVERIFY(log.times_estimated);
        QCOMPARE(log.end_missing, !end_line);
        QCOMPARE(log.start_ms, t0);
        QCOMPARE(log.end_ms, t0 + length);
        // Four lines, each in the middle of its quarter; the third is malformed.
        const std::vector<qint64> expected{t0 + length / 8, t0 + 3 * length / 8,
                                           t0 + 7 * length / 8};
        QCOMPARE(log.time, expected);
        QCOMPARE(log.rejected, std::vector<qint64>{t0 + 5 * length / 8});
    }

    void raw_quality_data()
    {
        QTest::addColumn<double>("high");
        QTest::addColumn<double>("spike");
        QTest::addColumn<QVector<int>>("qualities"); // 0 ok, 1 range, 2 spike
        QTest::newRow("defaults") << 1600.0 << 2.0 << QVector<int>{0, 0, 0, 0, 2, 1};
        QTest::newRow("lower range") << 1502.0 << 2.0 << QVector<int>{0, 0, 0, 0, 1, 1};
        QTest::newRow("tighter spike") << 1600.0 << 0.15 << QVector<int>{0, 0, 0, 2, 2, 1};
    }
    void raw_quality()
    {
        QFETCH(double, high);
        QFETCH(double, spike);
        QFETCH(QVector<int>, qualities);
        ReviewOptions options;
        options.range_high = high;
        options.spike_threshold = spike;
        const QByteArray lines
            = "$ 1500.0\r\n$ 1500.1\r\n$ 1500.0\r\n$ 1500.2\r\n$ 1503.0\r\n$ 1650\r\n";
        const ReviewLog log = LogReader(options).read(write("quality.txt", stamp(t0) + lines));
        QCOMPARE(QVector<int>(log.quality.begin(), log.quality.end()), qualities);
    }

    void bad_lines_capped()
    {
        std::vector<qint64> lines(25);
        std::iota(lines.begin(), lines.end(), 101);
        const QString said = LogReader::bad_lines_message(lines);
        QVERIFY(said.contains("120") && !said.contains("121") && said.contains("25"));
        QVERIFY(LogReader::bad_lines_message({3, 9}).contains("9"));
    }

    void figures_data()
    {
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::addColumn<int>("gaps");
        QTest::addColumn<qint64>("gap_ms");
        QTest::newRow("whole") << qint64(0) << qint64(LLONG_MAX) << 2 << qint64(17200);
        QTest::newRow("first gap") << t0 << t0 + 15000 << 1 << qint64(8100);
        QTest::newRow("a whole chunk inside") << t0 + 50000 << t0 + 250000 << 1 << qint64(9100);
        QTest::newRow("inside a gap") << t0 + 4000 << t0 + 10000 << 0 << qint64(0);
        QTest::newRow("from inside a gap") << t0 + 4000 << t0 + 15000 << 0 << qint64(0);
    }

    // 2600 readings 0.1 s apart with a pause of 8 s after 2.9 s and of 9 s after
    // 157.9 s, some flagged, some without a temperature, and a damaged row at
    // 12 s: past two chunks, so spans use whole chunks and readings either side.
    void figures()
    {
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QByteArray bytes = header;
        QVector<double> speeds, temperatures;
        qint64 count = 0, range = 0, spike = 0, first = -1, last = -1;
        for (int i = 0; i < 2600; ++i) {
            const qint64 ms = t0 + i * 100 + (i >= 30 ? 8000 : 0) + (i >= 1500 ? 9000 : 0);
            const int quality = i % 97 == 5 ? 1 : i % 131 == 7 ? 2 : 0;
            const double speed = 1500 + std::sin(i * 0.37) * 3 + (quality == 1 ? 200 : 0);
            const double temperature = i % 10 == 3 ? NAN : 10 + i * 0.001;
            bytes += row(ms, speed, temperature, quality_name(Quality(quality)));
            bytes += i == 40 ? "damaged row\n" : "";
            if (ms < from || ms > to)
                continue;
            ++count;
            first = first < 0 ? ms : first;
            last = ms;
            range += quality == 1;
            spike += quality == 2;
            if (quality == 0)
                speeds.append(QByteArray::number(speed, 'f', 3).toDouble());
            if (quality == 0 && !std::isnan(temperature))
                temperatures.append(QByteArray::number(temperature, 'f', 4).toDouble());
        }
        const ReviewLog log = LogReader().read(write("series.csv", bytes));
        ReviewFigures figures(log);
        const SpanFigures f = from == 0 ? figures.whole() : figures.span(from, to);
        QCOMPARE(f.readings, count);
        QCOMPARE(f.range_count, range);
        QCOMPARE(f.spike_count, spike);
        QCOMPARE(f.rejected, qint64(from <= t0 + 12000 && to >= t0 + 12000));
        QTEST(int(f.gap_count), "gaps");
        QTEST(f.gap_ms, "gap_ms");
        if (count > 1) {
            compare(f.speed, speeds);
            compare(f.temperature, temperatures);
            QVERIFY(qAbs(f.rate - (count - 1) * 1000.0 / (last - first)) < 1e-9);
        } else {
            QCOMPARE(f.speed.count + f.temperature.count, qint64(0));
        }
        // A longer deadline leaves only the longer pause.
        ReviewOptions longer;
        longer.stale_ms = 8500;
        QCOMPARE(ReviewFigures(log, longer).whole().gap_count, 1);
    }

    void cross_check_data()
    {
        QTest::addColumn<double>("salinity");
        QTest::addColumn<double>("offset");
        QTest::addColumn<QVector<bool>>("valid"); // UNESCO, Del Grosso, Mackenzie
        QTest::newRow("sea water") << 35.0 << 0.0 << QVector<bool>{true, true, true};
        QTest::newRow("fresher, reading high") << 20.0 << 1.5 << QVector<bool>{true, false, false};
    }
    void cross_check()
    {
        QFETCH(double, salinity);
        QFETCH(double, offset);
        QFETCH(QVector<bool>, valid);
        const double depth = 10;
        // Speeds made by Mackenzie's equation for this water, shifted by offset;
        // one reading has no temperature and one is flagged: neither counts.
        QByteArray bytes = header;
        const int n = 1100; // past a chunk
        for (int i = 0; i < n; ++i) {
            const double t = 9.5 + i * 0.001;
            bytes += row(t0 + i * 100,
                         sound_speed(SoundEquation::mackenzie, salinity, t, depth) + offset, t);
        }
        bytes += row(t0 + n * 100, 1590, NAN) + row(t0 + n * 100, 1700, 10, "range");
        const ReviewLog log = LogReader().read(write("cross.csv", bytes));
        ReviewFigures figures(log);
        figures.set_water(salinity, depth);
        const SpanFigures f = figures.whole();
        for (int e = 0; e < 3; ++e) {
            const CrossCheckFigure &c = f.cross_check[size_t(e)];
            double sum = 0;
            for (size_t i = 0; i < n; ++i)
                sum += log.speed[i] - sound_speed(c.equation, salinity, log.temperature[i], depth);
            QVERIFY2(qAbs(c.mean_difference - sum / n) < 1e-6, equation_name(c.equation));
            QCOMPARE(c.water_valid, valid[e]);
            QCOMPARE(c.implied_valid, valid[e]);
        }
        // The water that made the speeds, found again from their mean.
        const CrossCheckFigure &mackenzie = f.cross_check[2];
        QVERIFY(qAbs(mackenzie.mean_difference - offset) < 1e-3); // the rows round to 1 mm/s
        const double found = mackenzie.implied_salinity - salinity;
        QVERIFY(offset == 0 ? qAbs(found) < 0.01 : found > 0.5 && found < 2);
    }

    // The good readings' line breaks where they stop, even with flagged
    // readings in between, which show as dots of their own colour.
    void plot()
    {
        QByteArray bytes = header;
        for (int i = 0; i <= 400; ++i) {
            const bool flagged = i > 100 && i < 300; // good readings stop for 20 s
            if (!flagged || i % 10 == 0)
                bytes += row(t0 + i * 100, 1500 + (i % 7) * 0.1, 10, flagged ? "range" : "ok");
        }
        QImage image(800, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        SessionPlot(LogReader().read(write("plot.csv", bytes)), 3000).draw(painter, image.rect());
        painter.end();
        QVector<int> good, flagged; // the columns holding each colour
        for (int x = 0; x < image.width(); ++x) {
            bool line = false, dot = false;
            for (int y = image.height() / 10; y < image.height(); ++y) { // below the legend
                const QColor c = image.pixelColor(x, y);
                line = line || (c.blue() > 120 && c.red() < 60 && c.green() < 130);
                dot = dot || (c.red() > 180 && c.green() < 90 && c.blue() < 90);
            }
            good += QVector<int>(line, x);
            flagged += QVector<int>(dot, x);
        }
        QVERIFY(good.size() > 100);
        const int left = good.first(), width = good.last() - left;
        const auto in_gap = [&](int x) { return x > left + width * 0.3 && x < left + width * 0.7; };
        QVERIFY(std::none_of(good.begin(), good.end(), in_gap));
        QVERIFY(std::count_if(flagged.begin(), flagged.end(), in_gap) > 10);
    }

    void report_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("left_out");
        QVector<double> good;
        const QByteArray bytes = session(&good);
        const auto [mean, deviation] = mean_deviation(good);
        // The gap of 7.3 s and the loss of 6.8 s among them.
        const QStringList figures{QString::number(mean, 'f', 3),
                                  QString::number(deviation, 'f', 3)};
        QTest::newRow("session") << bytes
                                 << figures
                + QString("1490.000 1494.000 10.5000 声速过高 7.3 6.8").split(' ')
                                 << QStringList();
        const auto at = [](int gap) {
            return QDateTime::fromMSecsSinceEpoch(t0 + gap * 4000, Qt::UTC)
                .toString("yyyy-MM-dd hh:mm:ss");
        };
        QTest::newRow("long") << long_session() << QStringList{at(0)} << QStringList{at(38)};
        // Each column's spread is its own: speeds 1490..1499, temperatures 10.0..10.9.
        QByteArray spread = header;
        QVector<double> speeds, temperatures;
        for (int i = 0; i < 10; ++i) {
            spread += row(t0 + i * 500, 1490 + i, 10 + 0.1 * i);
            speeds << 1490 + i;
            temperatures << 10 + 0.1 * i;
        }
        QTest::newRow("spread")
            << spread
            << QStringList{QString::number(mean_deviation(speeds).second, 'f', 3),
                           QString::number(mean_deviation(temperatures).second, 'f', 4)}
            << QStringList{};
    }
    void report()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, left_out);
        const QString pdf = dir.filePath("report.pdf");
        QString err_text;
        QTextStream err(&err_text);
        QCOMPARE(write_report_from_file(write("report.csv", bytes), pdf, ReviewOptions(), err), 0);
        QVERIFY2(err_text.isEmpty(), qPrintable(err_text));
        QProcess text; // poppler's reading of it, a form feed ending each page
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(text.waitForFinished(60000));
        const QString out = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY(out.count('\f') == 1 || out.count('\f') == 2);
        for (const QString &figure : shown)
            QVERIFY2(out.contains(figure), qPrintable(figure + "\n" + out));
        for (const QString &figure : left_out)
            QVERIFY2(!out.contains(figure), qPrintable(figure));
    }

    void command_data()
    {
        QTest::addColumn<QString>("log");
        QTest::addColumn<int>("code");
        QTest::newRow("written") << QString("good.csv") << 0;
        QTest::newRow("raw recording") << QString("good.txt") << 0;
        QTest::newRow("no such log") << QString("missing.csv") << 1;
        QTest::newRow("a folder") << QString(".") << 1;
        QTest::newRow("not a log") << QString("notes.txt") << 1;
        QTest::newRow("unwritable") << QString("good.csv") << 2;
    }
    void command()
    {
        QFETCH(QString, log);
        QFETCH(int, code);
        write("good.csv", header + row(t0, 1500, 10) + row(t0 + 500, 1500.5, 10.1));
        write("good.txt", stamp(t0) + "$ 1500.0 10.0\r\n$ 1501.0 10.1\r\n" + stamp(t0 + 2000));
        write("notes.txt", "shopping list\nmilk\n");
        const QString pdf = dir.filePath(code == 2 ? QString("no/such/folder/out.pdf")
                                                   : QTest::currentDataTag() + QString(".pdf"));
        QString err_text;
        QTextStream err(&err_text);
        QCOMPARE(write_report_from_file(dir.filePath(log), pdf, ReviewOptions(), err), code);
        QCOMPARE(err_text.isEmpty(), code == 0);
        QFile out(pdf);
        QCOMPARE(out.open(QIODevice::ReadOnly) && out.read(5) == "%PDF-", code == 0);
    }

    // A log with positions: every fifth of 50 readings has none.
    QByteArray positioned()
    {
        QByteArray bytes = "time_utc,speed_m_s,temperature_c,average_m_s,quality,event,forwarded,"
                           "pressure_dbar,depth_m,latitude,longitude,fix_quality,fix_age_s,"
                           "clock_offset_ms\n";
        for (int i = 0; i < 50; ++i)
            bytes += utc(t0 + i * 100) + ",1500.000,10.0,,ok,,1,,,"
                + (i % 5 ? "48.11730" + QByteArray::number(i % 10) + "0,-11.5166667,1,0.4,-12\n"
                         : QByteArray(",,,,\n"));
        return bytes;
    }

    // The positioned readings of a span, thinned evenly for a map.
    void positioned_span()
    {
        const ReviewLog log = LogReader().read(write("span.csv", positioned()));
        QCOMPARE(review_track(log).size(), 40);
        const QVector<TrackPoint> span = review_track(log, t0 + 500, t0 + 900);
        QCOMPARE(span.size(), 4); // 5 to 9 but 5, ends included
        QCOMPARE(span.first().utc_ms, t0 + 600);
        QCOMPARE(span.last().latitude, 48.117309);
        QCOMPARE(review_track(log, t0, t0 + 5000, 7).size(), 7);
    }

    void track_command_data()
    {
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said"); // a part of what stderr got
        const QString none = track_export::no_positions_error();
        const auto row = [](const char *name, const char *log, const char *format, int code,
                            const QString &said) {
            QTest::newRow(name) << QString(log) << QString(format) << code << said;
        };
        row("geojson", "positions.csv", "geojson", 0, "");
        row("kml", "positions.csv", "kml", 0, "");
        row("gpx", "positions.csv", "gpx", 0, "");
        row("no positions", "good.csv", "gpx", 1, none);
        row("raw recording", "good.txt", "kml", 1, none);
        row("no such log", "missing.csv", "gpx", 1, "missing.csv");
        row("unwritable", "positions.csv", "gpx", 2, "no/such");
    }
    // The batch export: the track written whole, or a reason and no file;
    // the report of the same log gets the map page.
    void track_command()
    {
        QFETCH(QString, log);
        QFETCH(QString, format);
        QFETCH(int, code);
        QFETCH(QString, said);
        write("positions.csv", positioned());
        write("good.csv", header + row(t0, 1500, 10));
        write("good.txt", stamp(t0) + "$ 1500.0 10.0\r\n" + stamp(t0 + 2000));
        const QString out = dir.filePath(code == 2 ? "no/such/track" : QTest::currentDataTag());
        QString err_text;
        QTextStream err(&err_text);
        QCOMPARE(export_track_from_file(dir.filePath(log), format, out, err), code);
        QVERIFY2(err_text.contains(said) && err_text.isEmpty() == (code == 0),
                 qPrintable(err_text));
        QFile file(out);
        QCOMPARE(file.open(QIODevice::ReadOnly), code == 0);
        QCOMPARE(file.readAll().count("48.1173090"), code == 0 ? 5 : 0); // i = 9, 19, ... 49
        if (format != "geojson")
            return;
        const QString pdf = dir.filePath("map.pdf");
        QCOMPARE(write_report_from_file(dir.filePath(log), pdf, ReviewOptions(), err), 0);
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        QVERIFY(text.waitForFinished(60000));
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains("带位置的读数 40 行"));
    }
};

QTEST_MAIN(TestReview)
#include "tst_review.moc"
