// Logs and raw recordings read back, their figures and the PDF report, on
// small files in a temporary folder.

#include "logreader.h"
#include "qualitycheck.h"
#include "rawrecordingparser.h"
#include "reportcommand.h"
#include "reviewfigures.h"
#include "sessionplot.h"

#include <QImage>
#include <QPainter>

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <numeric>

static const QByteArray header
    = "time_utc,speed_m_s,temperature_c,average_m_s,quality,event,forwarded\n";
static const QByteArray old_header = "time_utc,speed_m_s,temperature_c,average_m_s,quality,event\n";
static const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();

static QByteArray utc(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs).toLatin1();
}

static QByteArray row(qint64 ms, double speed, double temperature, const char *quality = "ok")
{
    const QByteArray t = std::isnan(temperature) ? "" : QByteArray::number(temperature, 'f', 4);
    return utc(ms) + ',' + QByteArray::number(speed, 'f', 3) + ',' + t + ",," + quality + ",,1\n";
}

static QByteArray stamp(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString("yyyy_MM_dd_hh_mm_ss").toLatin1() + "\r\n";
}

// Independent of the chunk totals: two passes over the good readings.
struct Expected
{
    qint64 count = 0;
    double min = 0, max = 0, mean = 0, deviation = 0;
};

static Expected expected_of(const QVector<double> &values)
{
    Expected e;
    e.count = values.size();
    if (values.isEmpty())
        return e;
    e.min = *std::min_element(values.begin(), values.end());
    e.max = *std::max_element(values.begin(), values.end());
    e.mean = std::accumulate(values.begin(), values.end(), 0.0) / values.size();
    double squares = 0;
    for (double v : values)
        squares += (v - e.mean) * (v - e.mean);
    e.deviation = values.size() > 1 ? std::sqrt(squares / (values.size() - 1)) : NAN;
    return e;
}

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
    void read_data();
    void read();
    void log_values_data();
    void log_values();
    void raw_times_data();
    void raw_times();
    void raw_quality_data();
    void raw_quality();
    void bad_lines_capped();
    void figures_data();
    void figures();
    void cross_check_data();
    void cross_check();
    void plot();
    void report();
    void report_stays_short();
    void command_data();
    void command();
};

void TestReview::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("readings");
    QTest::addColumn<int>("events");
    QTest::addColumn<int>("rejected");
    QTest::addColumn<QList<qint64>>("bad_lines");
    QTest::addColumn<bool>("truncated");

    const QByteArray event = utc(t0 + 500) + ",,,,,port_lost,\n";
    const int csv = int(ReviewLog::Kind::csv), raw = int(ReviewLog::Kind::raw);
    QTest::newRow("log") << header + row(t0, 1500, 10) + event + row(t0 + 900, 1501, NAN) << csv
                         << 2 << 1 << 0 << QList<qint64>{} << false;
    QTest::newRow("old log, CRLF, BOM") << "\xEF\xBB\xBF" + old_header.trimmed() + "\r\n" + utc(t0)
            + ",1500.1,,,range,\r\n" + utc(t0) + ",,,,,config_start\r\n"
                                        << csv << 1 << 1 << 0 << QList<qint64>{} << false;
    QTest::newRow("damaged") << header + row(t0, 1500, 10) + utc(t0)
            + ",15x0,,,ok,,1\n" // 3: a number
            + row(t0 + 100, 1500, 10, "good") // 4: a quality
            + row(t0 + 200, 1500, 10) + "2026-02-30T00:00:00.000Z,1500,,,ok,,1\n" // 6: a date
            + row(t0 + 100, 1500, 10) // 7: back in time
            + utc(t0 + 300) + ",1500,,ok,,1\n" // 8: a field short
            + utc(t0 + 300) + ",,,,,,\n" // 9: neither reading nor event
            + "\n" + row(t0 + 400, 1502, 11) + row(t0 + 500, 1503, 11).left(30) // 12: cut off
                             << csv << 3 << 0 << 7 << QList<qint64>{3, 4, 6, 7, 8, 9, 12} << true;
    QTest::newRow("not a log") << QByteArray("time,speed\n1,2\n") << 0 << 0 << 0 << 0
                               << QList<qint64>{} << false;
    QTest::newRow("empty") << QByteArray() << 0 << 0 << 0 << 0 << QList<qint64>{} << false;
    const QByteArray lines = "$ 1500.000 10.0\r\n$ 15x0\r\nOK\r\n$ 1500.100 10.0\r\n$ 1500.2\r\n";
    QTest::newRow("raw") << stamp(t0) + lines + stamp(t0 + 4000) << raw << 3 << 0 << 1
                         << QList<qint64>{} << false;
    QTest::newRow("raw, no end line")
        << stamp(t0) + lines << raw << 3 << 0 << 1 << QList<qint64>{} << false;
    QTest::newRow("raw, line cut by the end line")
        << stamp(t0) + lines + "$ 1500.3" + stamp(t0 + 4000) << raw << 3 << 0 << 1
        << QList<qint64>{} << true;
}

void TestReview::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<qint64>, bad_lines);
    const ReviewLog log = LogReader().read(write("read.txt", bytes));
    QTEST(int(log.kind), "kind");
    QTEST(log.size(), "readings");
    QCOMPARE(int(log.speed.size()), log.size());
    QCOMPARE(int(log.quality.size()), log.size());
    QTEST(int(log.events.size()), "events");
    QTEST(int(log.rejected.size()), "rejected");
    QCOMPARE(QList<qint64>(log.bad_lines.begin(), log.bad_lines.end()), bad_lines);
    QTEST(log.truncated, "truncated");
    QVERIFY(std::is_sorted(log.time.begin(), log.time.end()));
    QVERIFY(std::is_sorted(log.rejected.begin(), log.rejected.end()));
    // Every line that could not be read is named, and a file that is no log says so.
    const QString said = log.problems.join('\n');
    for (qint64 line : bad_lines)
        QVERIFY2(said.contains(QString::number(line)), qPrintable(said));
    QCOMPARE(log.problems.isEmpty(), log.readable() && bad_lines.isEmpty() && !log.truncated);
}

void TestReview::log_values_data()
{
    QTest::addColumn<QByteArray>("time");
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("readable");
    const QByteArray reading = "1489.805,10.0449,1489.8,spike,,2";
    for (const char *time : {"2026-12-07T08:00:00.125Z", "2028-02-29T23:59:59.999Z",
                             "1999-12-31T00:00:00.5Z", "2026-01-01T00:00:01Z"})
        QTest::newRow(time) << QByteArray(time) << reading << QString() << true;
    for (const char *time : {"2026-02-29T08:00:00.125Z", "2026-12-07T24:00:00.000Z",
                             "2026-12-07T08:00:00.Z", "2026-12-07 08:00:00.125Z"})
        QTest::newRow(time) << QByteArray(time) << reading << QString() << false;
    QTest::newRow("alarm with a comma")
        << QByteArray("2026-12-07T08:00:00.125Z") << QByteArray(",,,,alarm_on:高,低,")
        << "alarm_on:高,低" << true;
}

void TestReview::log_values()
{
    QFETCH(QByteArray, time);
    QFETCH(QByteArray, fields);
    QFETCH(QString, event);
    QFETCH(bool, readable);
    const ReviewLog log
        = LogReader().read(write("values.csv", header + time + ',' + fields + '\n'));
    const qint64 ms = QDateTime::fromString(time, Qt::ISODateWithMs).toMSecsSinceEpoch();
    QCOMPARE(log.problems.isEmpty(), readable);
    if (!readable) {
        QCOMPARE(log.size(), 0);
        return;
    }
    if (!event.isEmpty()) {
        QCOMPARE(log.events.size(), size_t(1));
        QCOMPARE(log.events[0].utc_ms, ms);
        QCOMPARE(log.events[0].name, event);
        return;
    }
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.time[0], ms);
    QCOMPARE(log.speed[0], 1489.805);
    QCOMPARE(log.temperature[0], 10.0449);
    QCOMPARE(log.average[0], 1489.8f);
    QCOMPARE(Quality(log.quality[0]), Quality::spike);
}

void TestReview::raw_times_data()
{
    QTest::addColumn<bool>("end_line");
    QTest::addColumn<qint64>("modified"); // after the start
    QTest::addColumn<qint64>("length"); // the session's, as the reader takes it
    QTest::newRow("end line") << true << qint64(100000) << qint64(8000);
    QTest::newRow("modification time") << false << qint64(6000) << qint64(6000);
    QTest::newRow("copied before its start")
        << false << qint64(-5000) << 4 * RawRecordingParser::nominal_interval_ms;
}

void TestReview::raw_times()
{
    QFETCH(bool, end_line);
    QFETCH(qint64, modified);
    QFETCH(qint64, length);
    const QByteArray lines = "$ 1500.0\r\n$ 1500.1\r\n$ 1500.2 x\r\n$ 1500.3\r\n";
    const QString path
        = write("raw_times.txt", stamp(t0) + lines + (end_line ? stamp(t0 + 8000) : ""));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::fromMSecsSinceEpoch(t0 + modified),
                             QFileDevice::FileModificationTime));
    file.close();

    const ReviewLog log = LogReader().read(path);
    QVERIFY(log.times_estimated);
    QCOMPARE(log.end_missing, !end_line);
    QCOMPARE(log.start_ms, t0);
    QCOMPARE(log.end_ms, t0 + length);
    // Four lines, each in the middle of its quarter; the third is malformed.
    const std::vector<qint64> expected{t0 + length / 8, t0 + 3 * length / 8, t0 + 7 * length / 8};
    QCOMPARE(log.time, expected);
    QCOMPARE(log.rejected, std::vector<qint64>{t0 + 5 * length / 8});
}

void TestReview::raw_quality_data()
{
    QTest::addColumn<double>("high");
    QTest::addColumn<double>("spike");
    QTest::addColumn<QVector<int>>("qualities"); // 0 ok, 1 range, 2 spike
    QTest::newRow("defaults") << 1600.0 << 2.0 << QVector<int>{0, 0, 0, 0, 2, 1};
    QTest::newRow("lower range") << 1502.0 << 2.0 << QVector<int>{0, 0, 0, 0, 1, 1};
    QTest::newRow("tighter spike") << 1600.0 << 0.15 << QVector<int>{0, 0, 0, 2, 2, 1};
}

void TestReview::raw_quality()
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

void TestReview::bad_lines_capped()
{
    std::vector<qint64> lines;
    for (qint64 n = 101; n <= 125; ++n)
        lines.push_back(n);
    const QString message = LogReader::bad_lines_message(lines);
    QVERIFY(message.contains("120"));
    QVERIFY(!message.contains("121"));
    QVERIFY(message.contains("25"));
    QVERIFY(LogReader::bad_lines_message({3, 9}).contains("9"));
}

// 2600 readings 0.1 s apart with a pause of 8 s after 2.9 s and of 9 s after
// 157.9 s, some flagged, some without a temperature, and a damaged row at
// 12 s: past two chunks, so spans use whole chunks and readings either side.
struct Series
{
    QVector<qint64> times;
    QVector<double> speeds, temperatures;
    QVector<int> qualities;
    QByteArray bytes = header;
};

static Series series()
{
    Series s;
    for (int i = 0; i < 2600; ++i) {
        const qint64 ms = t0 + i * 100 + (i >= 30 ? 8000 : 0) + (i >= 1500 ? 9000 : 0);
        const int quality = i % 97 == 5 ? 1 : i % 131 == 7 ? 2 : 0;
        const double speed = 1500 + std::sin(i * 0.37) * 3 + (quality == 1 ? 200 : 0);
        const double temperature = i % 10 == 3 ? NAN : 10 + i * 0.001;
        s.bytes += row(ms, speed, temperature, quality_name(Quality(quality)));
        if (i == 40)
            s.bytes += "damaged row\n";
        s.times.append(ms);
        s.speeds.append(QByteArray::number(speed, 'f', 3).toDouble());
        s.temperatures.append(QByteArray::number(temperature, 'f', 4).toDouble());
        s.qualities.append(quality);
    }
    return s;
}

void TestReview::figures_data()
{
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<int>("gaps");
    QTest::addColumn<qint64>("gap_ms");
    QTest::newRow("whole") << qint64(0) << qint64(0) << 2 << qint64(8100 + 9100);
    QTest::newRow("first gap") << t0 << t0 + 15000 << 1 << qint64(8100);
    QTest::newRow("a whole chunk inside") << t0 + 50000 << t0 + 250000 << 1 << qint64(9100);
    QTest::newRow("inside a gap") << t0 + 4000 << t0 + 10000 << 0 << qint64(0);
    QTest::newRow("from inside a gap") << t0 + 4000 << t0 + 15000 << 0 << qint64(0);
}

static void compare(const RunningMoments &m, const QVector<double> &values)
{
    const Expected e = expected_of(values);
    QCOMPARE(m.count, e.count);
    if (e.count == 0)
        return;
    QVERIFY(qAbs(m.mean - e.mean) < 1e-9);
    QCOMPARE(m.min, e.min);
    QCOMPARE(m.max, e.max);
    QVERIFY(qAbs(m.deviation() - e.deviation) < 1e-9);
}

void TestReview::figures()
{
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    const Series s = series();
    const ReviewLog log = LogReader().read(write("series.csv", s.bytes));
    ReviewFigures figures(log);
    const bool whole = from == 0;
    const SpanFigures f = whole ? figures.whole() : figures.span(from, to);
    if (whole) {
        from = s.times.first();
        to = s.times.last();
    }
    QVector<double> speeds, temperatures;
    qint64 count = 0, range = 0, spike = 0, first = -1, last = -1;
    for (int i = 0; i < s.times.size(); ++i) {
        if (s.times[i] < from || s.times[i] > to)
            continue;
        ++count;
        first = first < 0 ? s.times[i] : first;
        last = s.times[i];
        range += s.qualities[i] == 1;
        spike += s.qualities[i] == 2;
        if (s.qualities[i] == 0)
            speeds.append(s.speeds[i]);
        if (s.qualities[i] == 0 && !std::isnan(s.temperatures[i]))
            temperatures.append(s.temperatures[i]);
    }
    QCOMPARE(f.readings, count);
    QCOMPARE(f.range_count, range);
    QCOMPARE(f.spike_count, spike);
    QCOMPARE(f.rejected, qint64(from <= t0 + 12000 && to >= t0 + 12000));
    QTEST(int(f.gap_count), "gaps");
    QTEST(f.gap_ms, "gap_ms");
    compare(f.speed, speeds);
    compare(f.temperature, temperatures);
    if (count > 1)
        QVERIFY(qAbs(f.rate - (count - 1) * 1000.0 / (last - first)) < 1e-9);
    // A longer deadline leaves only the longer pause.
    figures.set_stale_ms(8500);
    QCOMPARE(figures.whole().gap_count, 1);
}

void TestReview::cross_check_data()
{
    QTest::addColumn<double>("salinity");
    QTest::addColumn<double>("offset");
    QTest::addColumn<QVector<bool>>("valid"); // UNESCO, Del Grosso, Mackenzie
    QTest::newRow("sea water") << 35.0 << 0.0 << QVector<bool>{true, true, true};
    QTest::newRow("fresher, reading high") << 20.0 << 1.5 << QVector<bool>{true, false, false};
}

void TestReview::cross_check()
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
    bytes += row(t0 + n * 100, 1500, NAN) + row(t0 + n * 100, 1700, 10, "range");
    const ReviewLog log = LogReader().read(write("cross.csv", bytes));
    ReviewFigures figures(log);
    figures.set_water(salinity, depth);
    const SpanFigures f = figures.whole();
    for (int e = 0; e < 3; ++e) {
        const CrossCheckFigure &c = f.cross_check[size_t(e)];
        double sum = 0;
        for (int i = 0; i < n; ++i)
            sum += log.speed[size_t(i)]
                - sound_speed(c.equation, salinity, log.temperature[size_t(i)], depth);
        QVERIFY2(qAbs(c.mean_difference - sum / n) < 1e-6, equation_name(c.equation));
        QCOMPARE(c.water_valid, valid[e]);
        QCOMPARE(c.implied_valid, valid[e]);
    }
    // The water that made the speeds, found again from their mean.
    const CrossCheckFigure &mackenzie = f.cross_check[2];
    QVERIFY(qAbs(mackenzie.mean_difference - offset) < 1e-3); // the rows round to 1 mm/s
    if (offset == 0)
        QVERIFY(qAbs(mackenzie.implied_salinity - salinity) < 0.01);
    else
        QVERIFY(mackenzie.implied_salinity > salinity + 0.5
                && mackenzie.implied_salinity < salinity + 2);
}

// The good readings' line breaks where they stop, even with flagged
// readings in between, which show as dots of their own colour.
void TestReview::plot()
{
    QByteArray bytes = header;
    for (int i = 0; i <= 400; ++i) {
        const bool flagged = i > 100 && i < 300; // good readings stop for 20 s
        if (!flagged || i % 10 == 0)
            bytes += row(t0 + i * 100, 1500 + (i % 7) * 0.1, 10, flagged ? "range" : "ok");
    }
    const ReviewLog log = LogReader().read(write("plot.csv", bytes));
    QImage image(800, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    SessionPlot(log, 3000).draw(painter, image.rect());
    painter.end();

    QVector<int> good, flagged; // the columns holding each colour
    for (int x = 0; x < image.width(); ++x) {
        bool line = false, dot = false;
        for (int y = image.height() / 10; y < image.height(); ++y) { // below the legend
            const QColor c = image.pixelColor(x, y);
            line = line || (c.blue() > 120 && c.red() < 60 && c.green() < 130);
            dot = dot || (c.red() > 180 && c.green() < 90 && c.blue() < 90);
        }
        if (line)
            good.append(x);
        if (dot)
            flagged.append(x);
    }
    QVERIFY(good.size() > 100);
    const int left = good.first(), width = good.last() - left;
    const auto in_gap = [&](int x) { return x > left + width * 0.3 && x < left + width * 0.7; };
    QVERIFY(std::none_of(good.begin(), good.end(), in_gap));
    QVERIFY(std::count_if(flagged.begin(), flagged.end(), in_gap) > 10);
}

// The report's text as poppler reads it, and its page count.
static QString pdf_text(const QString &pdf, int *pages)
{
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(60000);
    const QRegularExpressionMatch match
        = QRegularExpression("Pages:\\s+(\\d+)\\n")
              .match(QString::fromUtf8(info.readAllStandardOutput()));
    *pages = match.hasMatch() ? match.captured(1).toInt() : 0;
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    text.waitForFinished(60000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

void TestReview::report()
{
    QByteArray bytes
        = header + utc(t0 - 1000) + ",,,,,config_start,\n" + utc(t0 - 500) + ",,,,,config_end,\n";
    for (int i = 0; i < 40; ++i) {
        if (i == 20)
            bytes += utc(t0 + 5100) + ",,,,,port_lost,\n" + utc(t0 + 11900) + ",,,,,port_back,\n";
        bytes += row(t0 + i * 250 + (i >= 20 ? 7050 : 0), 1490 + (i % 5), 10.5,
                     i == 33 ? "spike" : "ok");
    }
    bytes += utc(t0 + 17000) + ",,,,,alarm_on:声速过高,\n" + utc(t0 + 18000)
        + ",,,,,alarm_off:声速过高,\n";
    const QString log = write("session.csv", bytes);
    const QString pdf = dir.filePath("session.pdf");
    QString err_text;
    QTextStream err(&err_text);
    QCOMPARE(write_report_from_file(log, pdf, ReviewOptions(), err), 0);
    QVERIFY2(err_text.isEmpty(), qPrintable(err_text));

    int pages = 0;
    const QString out = pdf_text(pdf, &pages);
    QVERIFY(pages == 1 || pages == 2);
    // The gap of 7.3 s, the loss of 6.8 s; 39 good readings of 1490..1494 in turn, the spike (1493)
    // left out.
    QVector<double> good;
    for (int i = 0; i < 40; ++i)
        if (i != 33)
            good.append(1490 + i % 5);
    const Expected e = expected_of(good);
    for (const QString &figure :
         {QString::number(e.mean, 'f', 3), QString::number(e.deviation, 'f', 3),
          QString("1490.000"), QString("1494.000"), QString("10.5000"), QString("声速过高"),
          QString("7.3"), QString("6.8")})
        QVERIFY2(out.contains(figure), qPrintable(figure + "\n" + out));
}

// A long session with many gaps, losses and alarms still fits on two pages.
void TestReview::report_stays_short()
{
    QByteArray bytes = header;
    for (int i = 0; i < 40; ++i)
        bytes += row(t0 + i * 4000, 1500, 10) + utc(t0 + i * 4000 + 1) + ",,,,,port_lost,\n"
            + utc(t0 + i * 4000 + 2) + ",,,,,port_back,\n" + utc(t0 + i * 4000 + 3)
            + ",,,,,alarm_on:a,\n" + utc(t0 + i * 4000 + 4) + ",,,,,alarm_off:a,\n";
    const QString pdf = dir.filePath("long.pdf");
    QString err_text;
    QTextStream err(&err_text);
    QCOMPARE(write_report_from_file(write("long.csv", bytes), pdf, ReviewOptions(), err), 0);
    int pages = 0;
    const QString out = pdf_text(pdf, &pages);
    QVERIFY(pages == 1 || pages == 2);
    const QString time_format = "yyyy-MM-dd hh:mm:ss";
    const auto shown = [&](int gap) {
        return out.contains(
            QDateTime::fromMSecsSinceEpoch(t0 + gap * 4000, Qt::UTC).toString(time_format));
    };
    QVERIFY(shown(0));
    QVERIFY(!shown(38));
}

void TestReview::command_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("pdf");
    QTest::addColumn<int>("code");
    QTest::newRow("written") << "good.csv"
                             << "out.pdf" << 0;
    QTest::newRow("raw recording") << "good.txt"
                                   << "raw.pdf" << 0;
    QTest::newRow("no such log") << "missing.csv"
                                 << "out2.pdf" << 1;
    QTest::newRow("a folder") << "."
                              << "out3.pdf" << 1;
    QTest::newRow("not a log") << "notes.txt"
                               << "out4.pdf" << 1;
    QTest::newRow("unwritable") << "good.csv"
                                << "no/such/folder/out.pdf" << 2;
}

void TestReview::command()
{
    QFETCH(QString, log);
    QFETCH(QString, pdf);
    QFETCH(int, code);
    write("good.csv", header + row(t0, 1500, 10) + row(t0 + 500, 1500.5, 10.1));
    write("good.txt", stamp(t0) + "$ 1500.0 10.0\r\n$ 1501.0 10.1\r\n" + stamp(t0 + 2000));
    write("notes.txt", "shopping list\nmilk\n");
    QString err_text;
    QTextStream err(&err_text);
    QCOMPARE(write_report_from_file(dir.filePath(log), dir.filePath(pdf), ReviewOptions(), err),
             code);
    QCOMPARE(err_text.isEmpty(), code == 0);
    QFile out(dir.filePath(pdf));
    QCOMPARE(out.open(QIODevice::ReadOnly) && out.read(5) == "%PDF-", code == 0);
}

QTEST_MAIN(TestReview)
#include "tst_review.moc"
