// The trend view with two hours of readings at 50 lines a second: how long a
// redraw takes while readings keep arriving, and what the full buffer costs
// in resident memory.
#include "benchsupport.h"
#include "trendmodel.h"
#include "trendplot.h"
#include "trendview.h"
#include "watersettings.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>

static const int line_ms = 20; // 50 lines a second
static const int block = 10; // lines in a block average

// One reading as the window would add it: a slow swell, noise, a spike now
// and then, the block average of the last full block.
static void add_reading(TrendModel &model, qint64 start_ms)
{
    static double block_sum = 0.0, average = NAN;
    const qint64 n = model.sequence();
    const double speed = 1500.0 + 0.5 * std::sin(n * 1e-4) + 0.01 * ((n * 7919) % 13)
        + (n % 5003 == 0 ? 4.0 : 0.0);
    block_sum += speed;
    if ((n + 1) % block == 0) {
        average = block_sum / block;
        block_sum = 0.0;
    }
    static QualityCheck checker;
    model.add({start_ms + n * line_ms, speed, average, 15.0 + 0.002 * ((n * 31) % 17),
               checker.judge(speed)});
}

static double percentile(QVector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values.at(std::min(int(values.size() * fraction), values.size() - 1));
}

// Redraws with five new readings before each, as the window's frame timer
// would at 10 redraws a second with 50 lines a second coming in.
static void time_redraws(QApplication &app, TrendView &view, TrendModel &model, qint64 start_ms,
                         int seconds)
{
    view.set_span_seconds(seconds);
    view.refresh();
    QVector<double> times;
    QElapsedTimer clock;
    for (int i = 0; i < 300; ++i) {
        for (int k = 0; k < 5; ++k)
            add_reading(model, start_ms);
        clock.start();
        view.refresh();
        app.processEvents(); // the paint of what was drawn
        times.append(clock.nsecsElapsed() / 1e6);
    }
    std::printf("span %5d s, %dx%d: redraw median %.2f ms, p99 %.2f ms (goal <= 10 / 30)\n",
                seconds, view.width(), view.height(), percentile(times, 0.5),
                percentile(times, 0.99));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const qint64 start_ms = QDateTime::currentMSecsSinceEpoch() - qint64(7200) * 1000;

    const double before = resident_mb();
    TrendModel model;
    WaterSettings water;
    TrendView view(&model, &water);
    view.resize(780, 200);
    view.show();
    app.processEvents();
    view.refresh();
    const double empty = resident_mb();

    QElapsedTimer fill;
    fill.start();
    for (int i = 0; i < model.buffer().capacity(); ++i)
        add_reading(model, start_ms);
    const double fill_ms = fill.elapsed();
    view.refresh();
    app.processEvents();
    const double full = resident_mb();
    std::printf("filled %d readings in %.0f ms; first full redraw done\n", model.buffer().size(),
                fill_ms);
    std::printf("resident: %.1f MB before, %.1f MB empty view, %.1f MB full; full - empty = %.1f "
                "MB (goal <= 40)\n",
                before, empty, full, full - empty);

    for (int seconds : {7200, 300})
        time_redraws(app, view, model, start_ms, seconds);
    view.resize(1200, 700);
    app.processEvents();
    time_redraws(app, view, model, start_ms, 7200);
    std::printf("resident after the redraws: %.1f MB\n", resident_mb());
    return 0;
}
