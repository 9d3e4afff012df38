#include "livefigures.h"
#include "livereport.h"
#include "review/reviewsamples.h"
#include "reviewplot.h"
#include "reviewwindow.h"
#include "soundspeed.h"
#include "trendfigures.h"
#include "trendmodel.h"
#include "trendplot.h"
#include "trendview.h"
#include "watersettings.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(SoundEquation)

static const qint64 start_ms = 1700000000000;

// The value a step graph shows at key: that of its last point at or before it.
static double step_value(const QCPGraph *graph, double key)
{
    const QCPGraphDataContainer &steps = *graph->data();
    auto it = std::upper_bound(steps.constBegin(), steps.constEnd(), QCPGraphData(key, 0),
                               qcpLessThanSortKey<QCPGraphData>);
    return it == steps.constBegin() ? NAN : (it - 1)->value;
}

// A model with a view shown on it, fed readings judged as the pipeline does.
struct Shown
{
    TrendModel model;
    WaterSettings water;
    TrendView view{&model, &water};
    QualityCheck checker;
    Shown() { view.show(); }
    Quality add(qint64 msecs, double speed, double average, double temperature)
    {
        const Quality quality = checker.judge(speed);
        model.add({msecs, speed, average, temperature, quality});
        return quality;
    }
};

// 400,000 readings 20 ms apart into the live buffer, taken in as the view
// would between frames, so it has dropped the oldest, seen and unseen:
// pauses of 5 s (gaps) and of 3 s (not), flags, readings without a temperature.
struct Held
{
    TrendModel model;
    LiveFigures live;
    ReviewLog log;
    Held()
    {
        qint64 ms = start_ms;
        for (int n = 0; n < 400000; ++n) {
            ms += n % 7919 == 0 ? 5000 : n % 3001 == 0 ? 3000 : 20;
            const Quality quality = n % 97 == 0 ? Quality::spike
                : n % 131 == 0                  ? Quality::range
                                                : Quality::ok;
            model.add({ms, 1500 + std::sin(n * 0.1) + (quality == Quality::range ? 300 : 0), NAN,
                       n % 7 == 0 ? NAN : 12 + std::cos(n * 0.01), quality});
            if (n % 1000 == 999 && (n < 10000 || n >= 380000))
                live.sync(model); // hidden a while: what it dropped meanwhile was unseen
        }
        live.sync(model);
        log = review_log_from(model);
    }
};

class tst_Trend : public QObject
{
    Q_OBJECT

private slots:
    // Each reading followed by its expected flag: o ok, r range, s spike.
    void flags_data()
    {
        QTest::addColumn<QString>("readings");
        QTest::newRow("none before three earlier") << "1500o 1510o 1520o 1500s";
        QTest::newRow("limits inclusive") << "1399.99r 1400o 1600o 1600.01r";
        QTest::newRow("threshold no spike") << "1500o 1500o 1500o 1502o 1502.01s";
        QTest::newRow("spike not in median") << "1500o 1500o 1500o 1500o 1520s 1500.5o 1501o";
        QTest::newRow("median of last eleven")
            << QString("1500o ").repeated(11) + QString("1510s ").repeated(6) + "1510o";
    }

    void flags()
    {
        QFETCH(QString, readings);
        QualityCheck checker;
        QString flags, expected;
        for (const QString &reading : readings.split(' ', Qt::SkipEmptyParts)) {
            expected += reading.right(1);
            const double speed = reading.chopped(1).toDouble();
            flags += "ors"[int(checker.judge(speed))];
        }
        QCOMPARE(flags, expected);
    }

    // Steps: reading, stale, or an event; the state the trend says after them.
    void stream_state_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("state");
        // clang-format off
        QTest::newRow("closed while stale") << "stale port_closed config_start" << int(TrendModel::Stream::closed);
        QTest::newRow("closed until a reading") << "port_closed reading" << int(TrendModel::Stream::flowing);
        QTest::newRow("lost, then stale") << "reading port_lost stale" << int(TrendModel::Stream::lost);
        QTest::newRow("back, still late") << "stale port_lost port_back" << int(TrendModel::Stream::stale);
        QTest::newRow("back in time") << "reading port_lost port_back" << int(TrendModel::Stream::flowing);
        // clang-format on
    }

    // Each change is one a view must draw.
    void stream_state()
    {
        QFETCH(QString, steps);
        QFETCH(int, state);
        TrendModel model;
        const Reading reading = MeasurementStream::parse(" 1500.000 15.000");
        for (const QString &step : steps.split(' ')) {
            const qint64 revision = model.revision();
            const TrendModel::Stream before = model.stream();
            if (step == "reading")
                model.take({reading, Quality::ok, QString(), start_ms});
            else
                step == "stale" ? model.stale(true, start_ms) : model.event(step, start_ms);
            QVERIFY(model.stream() == before || model.revision() > revision);
        }
        QCOMPARE(int(model.stream()), state);
    }

    // The graphs hold what the buffer holds, also once it drops its oldest.
    void plotted_points()
    {
        Shown shown;
        const TrendBuffer &buffer = shown.model.buffer();
        const TrendPlot *plot = shown.view.plot();
        for (int count : {42, buffer.capacity()}) {
            for (int i = 0; i < count; ++i) {
                const qint64 n = shown.model.sequence();
                shown.add(start_ms + 20 * n, n % 37 == 20 ? 1530 : 1500.0 + 0.01 * (n % 7),
                          n < 4 ? NAN : 1500.0 + (n / 5) % 3,
                          n % 30 >= 10 && n % 30 < 13 ? NAN : 15.0 + 0.001 * n);
            }
            shown.view.refresh();
            // The speed line joins the good readings; the flagged are dots.
            int good = 0, flagged = 0;
            for (int i = 0; i < buffer.size(); ++i) {
                const TrendSample &sample = buffer.at(i);
                const double key = sample.msecs / 1000.0;
                if (sample.quality == Quality::ok) {
                    QCOMPARE(plot->speed_graph()->data()->at(good)->key, key);
                    QCOMPARE(plot->speed_graph()->data()->at(good++)->value, sample.speed);
                }
                if (!std::isnan(sample.average))
                    QCOMPARE(step_value(plot->average_graph(), key), sample.average);
                QCOMPARE(step_value(plot->temperature_graph(), key), sample.temperature);
                flagged += sample.quality != Quality::ok;
            }
            QVERIFY(flagged > 0);
            QCOMPARE(plot->speed_graph()->data()->size(), good);
            QCOMPARE(plot->flagged_graph()->data()->size(), flagged);
        }
        QCOMPARE(buffer.at(0).msecs, start_ms + 20 * (shown.model.sequence() - buffer.capacity()));
    }

    void span_figures_data()
    {
        QTest::addColumn<int>("seconds");
        for (int seconds : {300, 7200})
            QTest::addRow("%d s", seconds) << seconds;
    }

    // Past the buffer's capacity at 50 lines a second, a temperature on two in three.
    void span_figures()
    {
        QFETCH(int, seconds);
        Shown shown;
        shown.view.set_span_seconds(seconds);
        QVector<TrendSample> sent;
        for (int n = 0; n < 400000; ++n) {
            const double speed = 1500.0 + 0.3 * std::sin(n * 0.7) + (n % 97 == 0 ? 5.0 : 0.0);
            const double temperature = n % 3 == 0 ? NAN : 12.0 + std::cos(n * 0.3);
            const qint64 msecs = start_ms + 20 * n;
            sent.append(
                {msecs, speed, NAN, temperature, shown.add(msecs, speed, NAN, temperature)});
        }
        shown.view.refresh();
        QCOMPARE(shown.view.plot()->xAxis->range().upper, sent.last().msecs / 1000.0);
        QCOMPARE(shown.view.plot()->xAxis->range().size(), double(seconds));

        // Two passes over the readings the span holds, apart from the view.
        QVector<double> speeds, temperatures;
        int spikes = 0, readings = 0;
        for (int i = sent.size() - shown.model.buffer().capacity(); i < sent.size(); ++i) {
            if (sent[i].msecs >= sent.last().msecs - seconds * 1000) {
                ++readings;
                spikes += sent[i].quality == Quality::spike;
                if (sent[i].quality != Quality::ok)
                    continue;
                speeds.append(sent[i].speed);
                if (!std::isnan(sent[i].temperature))
                    temperatures.append(sent[i].temperature);
            }
        }
        const SpanFigures &stats = shown.view.shown_figures();
        QCOMPARE(stats.readings, readings);
        QCOMPARE(stats.spike_count, spikes);
        QCOMPARE(stats.rate, 50.0);
        QVERIFY(spikes > 0 && !shown.view.span_short());
        // The speed axis fits the good readings; the spikes sit at its edge.
        const QCPRange axis = shown.view.plot()->yAxis->range();
        QVERIFY(axis.upper < 1501.0);
        const QCPGraphDataContainer &dots = *shown.view.plot()->flagged_graph()->data();
        QVERIFY(std::all_of(dots.constBegin(), dots.constEnd(),
                            [&](const QCPGraphData &dot) { return axis.contains(dot.value); }));
        for (auto [values, moments] :
             {std::pair(speeds, stats.speed), {temperatures, stats.temperature}}) {
            const double mean = std::accumulate(values.begin(), values.end(), 0.0) / values.size();
            double squares = 0.0;
            for (double value : values)
                squares += (value - mean) * (value - mean);
            QCOMPARE(moments.count, values.size());
            QVERIFY(std::fabs(moments.mean - mean) < 1e-9);
            QVERIFY(std::fabs(moments.deviation() - std::sqrt(squares / (values.size() - 1)))
                    < 1e-9);
            QCOMPARE(moments.max, *std::max_element(values.begin(), values.end()));
        }
        QTemporaryDir dir;
        QVERIFY(shown.view.export_csv(dir.filePath("span.csv")));
        QFile csv(dir.filePath("span.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count('\n'), readings + 1);
    }

    void live_as_reviewed_data()
    {
        QTest::addColumn<int>("first"); // readings held, from the oldest
        QTest::addColumn<int>("count");
        QTest::newRow("all held") << 0 << 360000;
        QTest::newRow("across chunks and gaps") << 500 << 100000;
        QTest::newRow("within a chunk") << 70000 << 300;
        QTest::newRow("to the newest") << 300001 << 59999;
        QTest::newRow("one reading") << 1234 << 1;
    }

    // The live figures of a span are those of the same readings read back.
    void live_as_reviewed()
    {
        QFETCH(int, first);
        QFETCH(int, count);
        static const Held held;
        const TrendBuffer &buffer = held.model.buffer();
        QCOMPARE(buffer.size(), 360000);
        const qint64 from = buffer.at(first).msecs, to = buffer.at(first + count - 1).msecs;
        const SpanFigures live = held.live.span(held.model, from, to);
        const SpanFigures read = ReviewFigures(held.log).span(from, to);
        QCOMPARE(live.readings, qint64(count));
        QCOMPARE(read.readings, qint64(count));
        QVERIFY(count < 100000 || (live.gap_count > 0 && live.spike_count > 0));
        for (auto [a, b] : {std::pair(live.speed, read.speed),
                            {live.temperature, read.temperature},
                            {live.flagged_speed, read.flagged_speed}}) {
            QCOMPARE(a.count, b.count);
            QCOMPARE(a.min, b.min);
            QCOMPARE(a.max, b.max);
            QVERIFY(std::fabs(a.mean - b.mean) < 1e-9);
            QVERIFY(std::isnan(b.deviation()) ? std::isnan(a.deviation())
                                              : std::fabs(a.deviation() - b.deviation()) < 1e-9);
        }
        QCOMPARE(live.range_count, read.range_count);
        QCOMPARE(live.spike_count, read.spike_count);
        QCOMPARE(live.rate, read.rate);
        QCOMPARE(live.gap_count, read.gap_count);
        QCOMPARE(live.gap_ms, read.gap_ms);
    }

    // Only flagged readings in the span: they set the speed axis, or none would show.
    void flagged_set_the_scale()
    {
        Shown shown;
        for (int i = 0; i < 20; ++i)
            shown.add(start_ms + 100 * i, 1700 + i, NAN, 15.0);
        shown.view.refresh();
        const QCPRange axis = shown.view.plot()->yAxis->range();
        QVERIFY(axis.contains(1700) && axis.contains(1719) && axis.size() < 30);
    }

    void pause_and_tick()
    {
        Shown shown;
        auto feed = [&](int count) {
            while (count-- > 0)
                shown.add(start_ms + 100 * shown.model.sequence(), 1500.0, NAN, 15.0);
            shown.view.refresh();
            return shown.view.plot()->speed_graph()->data()->size();
        };
        feed(100);
        shown.view.set_paused(true);
        QCOMPARE(feed(50), 100);
        shown.view.set_paused(false);
        QCOMPARE(feed(0), 150);
        QCOMPARE(shown.view.plot()->xAxis->range().upper, (start_ms + 100 * 149) / 1000.0);
        // Dragging the time axis stops the plot following new readings.
        shown.view.plot()->xAxis->moveRange(-10);
        QVERIFY(shown.view.paused());
        shown.view.set_paused(false);

        // A tick too soon after a drawing is drawn later, with no tick after
        // it: the new point shows, and not before a tenth of a second since
        // the drawing (a late tick on a loaded machine is drawn at once).
        QCOMPARE(feed(0), 150);
        QElapsedTimer clock;
        clock.start();
        shown.add(start_ms + 100 * 150, 1500.0, NAN, 15.0);
        shown.view.frame_tick();
        const QCPGraphDataContainer &points = *shown.view.plot()->speed_graph()->data();
        QVERIFY(QTest::qWaitFor([&] { return points.size() == 151; }, 5000));
        QVERIFY(clock.elapsed() >= 95);
    }

    void gaps_data()
    {
        QTest::addColumn<int>("pause_ms");
        QTest::addColumn<bool>("gap");
        QTest::newRow("at the deadline") << 3000 << false;
        QTest::newRow("just past it") << 3001 << true;
        QTest::newRow("a lost minute") << 60000 << true;
    }

    // A lost device breaks every line and counts as a gap; the span says it
    // holds less than it shows.
    void gaps()
    {
        QFETCH(int, pause_ms);
        QFETCH(bool, gap);
        Shown shown;
        QVector<qint64> times{0, 1000, 2000};
        for (qint64 t : {0, 1000, 2000})
            times.append(2000 + pause_ms + t);
        for (qint64 t : times)
            shown.add(t0 + t, 1500.0, 1500.0, 15.0);
        shown.view.refresh();
        const TrendPlot *plot = shown.view.plot();
        const double inside = (t0 + 2001 + pause_ms / 2) / 1000.0;
        for (const QCPGraph *graph :
             {plot->speed_graph(), plot->average_graph(), plot->temperature_graph()})
            QVERIFY2(std::isnan(step_value(graph, inside)) == gap, qPrintable(graph->name()));
        QCOMPARE(shown.view.shown_figures().gap_count, qint64(gap ? 1 : 0));
        QCOMPARE(shown.view.shown_figures().gap_ms, qint64(gap ? pause_ms : 0));
        QVERIFY(shown.view.span_short());
    }

    // A night's log with a lost minute, a damaged row and a cut last line.
    void review_log()
    {
        QTemporaryDir dir;
        QByteArray text = header;
        for (int n = 0; n < 3000; ++n) {
            const qint64 ms = t0 + 1000 * n + (n >= 2000 ? 60000 : 0);
            text += n == 2000 ? marker(ms - 1, "port_back") : QByteArray();
            text += n == 1500 ? "2026-12-07T08:25:00.000Z,x\n"
                              : row(ms, n % 500 == 7 ? 1700 : 1500 + 0.01 * (n % 5), 15,
                                    n % 500 == 7 ? "range" : "ok");
        }
        QFile file(dir.filePath("night.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text + "2026-12-07T09") > 0);
        file.close();
        QScopedPointer<ReviewWindow> window(ReviewWindow::open(file.fileName(), nullptr));
        QVERIFY(window);
        const ReviewPlot *plot = window->plot();
        QCOMPARE(plot->speed_graph()->data()->size(), 2999 - 6 + 1); // the flagged, the break
        QCOMPARE(plot->flagged_graph()->data()->size(), 6);
        QCOMPARE(plot->mark_graph(ReviewPlot::port_mark)->data()->size(), 1);
        QCOMPARE(window->figures()->figure(1, TrendFigures::readings), "2999 (2993)");
        QCOMPARE(window->figures()->figure(1, TrendFigures::gaps), "1 / 0:01:01");
        plot->xAxis->setRange(t0 / 1000.0, t0 / 1000.0 + 999);
        QCOMPARE(window->figures()->figure(0, TrendFigures::readings), "1000 (998)");

        Shown shown;
        shown.add(t0, 1500, 1500, 15);
        QString error;
        for (auto export_to : {std::function([&](const QString &path) {
                                   return window->export_png(path)
                                       && window->write_report(path + ".pdf", &error);
                               }),
                               std::function([&](const QString &path) {
                                   return shown.view.export_png(path)
                                       && shown.view.write_report(path + ".pdf", &error);
                               })}) {
            const QString path = dir.filePath("out.png");
            QVERIFY(export_to(path));
            QCOMPARE(QImage(path).size(), QSize(1600, 900));
            QFile pdf(path + ".pdf");
            QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
        }
    }

    void cross_check_data()
    {
        QTest::addColumn<SoundEquation>("equation");
        // salinity entered, temperature, depth, salinity the speed is of
        QTest::addColumn<QVector<double>>("water");
        for (auto equation :
             {SoundEquation::unesco, SoundEquation::del_grosso, SoundEquation::mackenzie}) {
            for (const QVector<double> &water : {QVector<double>{35, 15, 0, 35},
                                                 {30, 4, 500, 35},
                                                 {34, 36, 0, 35},
                                                 {35, 15, 0, 45}})
                QTest::addRow("%s %g %g %g %g", equation_name(equation), water[0], water[1],
                              water[2], water[3])
                    << equation << water;
        }
    }

    // Two views on one model: the entries of one set what the other computes,
    // for a reading whose speed the equation gives at 35 PSU.
    void cross_check()
    {
        QFETCH(SoundEquation, equation);
        QFETCH(QVector<double>, water);
        const double salinity = water[0], temperature = water[1], depth = water[2],
                     truth = water[3];
        Shown shown;
        TrendView other(&shown.model, &shown.water);
        shown.view.findChild<QDoubleSpinBox *>("salinity")->setValue(salinity);
        shown.view.findChild<QDoubleSpinBox *>("depth")->setValue(depth);
        const double speed
            = std::round(sound_speed(equation, truth, temperature, depth) * 1000) / 1000;
        shown.add(start_ms, speed, NAN, temperature);
        other.refresh();

        const QString name = equation_name(equation);
        auto figure = [&](const char *column) {
            return other.findChild<QLabel *>(column + (" " + name))->text().toDouble();
        };
        const double computed = sound_speed(equation, salinity, temperature, depth);
        QVERIFY(std::fabs(figure("computed") - computed) < 0.0006);
        QVERIFY(std::fabs(figure("difference") - (speed - computed)) < 0.0011);
        QVERIFY(std::fabs(figure("implied") - truth) < 0.011);
        const bool outside = !within_validity(equation, salinity, temperature, depth);
        QCOMPARE(other.findChild<QLabel *>(name)->property("outside").toBool(), outside);
        QCOMPARE(other.findChild<QLabel *>("implied " + name)->property("outside").toBool(),
                 outside || !within_validity(equation, truth, temperature, depth));
    }
};

QTEST_MAIN(tst_Trend)
#include "tst_trend.moc"
