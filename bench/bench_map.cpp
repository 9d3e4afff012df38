// The map with two hours of readings at 10 a second (72,000 points): how
// long a redraw takes while readings keep arriving, at the map's default
// size and larger. With --png PATH it also saves a picture of the map.
#include "mapview.h"
#include "trackmodel.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>

static const double origin_latitude = 30.0, origin_longitude = 122.0;
static const double metres_per_degree = M_PI / 180.0 * LocalProjection::earth_radius_m;

// A survey of parallel lines 2 km long and 150 m apart at 5 knots, one
// reading every 100 ms, the water a little faster to the north-east, with a
// spike now and then and a short run out of range.
static TrackPoint reading(qint64 n, double *course_deg)
{
    const double speed = 5.0 * 1852.0 / 3600.0, line_m = 2000.0, spacing_m = 150.0;
    const double along = n * 0.1 * speed;
    const double turn_m = spacing_m * M_PI / 2;
    const qint64 leg = qint64(along / (line_m + turn_m));
    const double in_leg = along - leg * (line_m + turn_m);
    const bool northward = leg % 2 == 0;
    double east = leg * spacing_m, north;
    if (in_leg < line_m) {
        north = northward ? in_leg : line_m - in_leg;
        *course_deg = northward ? 0.0 : 180.0;
    } else { // a half circle to the next line
        const double angle = (in_leg - line_m) / turn_m * M_PI;
        east += spacing_m / 2 * (1 - std::cos(angle));
        north = northward ? line_m + spacing_m / 2 * std::sin(angle)
                          : -spacing_m / 2 * std::sin(angle);
        *course_deg = northward ? angle * 180 / M_PI : 180 + angle * 180 / M_PI;
    }
    const double latitude = origin_latitude + north / metres_per_degree;
    const double longitude
        = origin_longitude + east / (metres_per_degree * std::cos(origin_latitude * M_PI / 180));
    const double sound = 1482.0 + east * 0.001 + north * 0.0008 + 0.05 * std::sin(n * 0.001);
    const bool spike = n % 2500 == 1700, out_of_range = n > 52000 && n < 52040;
    return {1767225600000 + n * 100,
            latitude,
            longitude,
            spike ? sound + 6.0 : sound,
            15.0,
            spike              ? Quality::spike
                : out_of_range ? Quality::range
                               : Quality::ok};
}

static void add_readings(TrackModel &model, int count)
{
    double course = 0.0;
    TrackPoint last;
    for (int i = 0; i < count; ++i)
        model.add(last = reading(model.sequence(), &course));
    model.set_vessel({last.latitude, last.longitude, course});
}

static double percentile(QVector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values.at(std::min(int(values.size() * fraction), values.size() - 1));
}

// Redraws with a second of new readings before each.
static void time_redraws(QApplication &app, MapView &view, TrackModel &model)
{
    QVector<double> times;
    QElapsedTimer clock;
    for (int i = 0; i < 300; ++i) {
        add_readings(model, 10);
        clock.start();
        view.sync(model);
        view.replot();
        app.processEvents(); // the paint of what was drawn
        times.append(clock.nsecsElapsed() / 1e6);
    }
    std::printf("%d points, %dx%d%s: redraw median %.2f ms, p99 %.2f ms (goal < 30)\n",
                model.size(), view.width(), view.height(),
                view.following() ? ", following" : ", zoomed in", percentile(times, 0.5),
                percentile(times, 0.99));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int png = app.arguments().indexOf("--png");
    TrackModel model;
    MapView view;
    view.resize(view.sizeHint());
    view.show();
    add_readings(model, model.capacity());
    view.sync(model);
    view.replot();
    app.processEvents();
    if (png > 0 && !view.grab().save(app.arguments().value(png + 1))) {
        std::fprintf(stderr, "cannot save the picture\n");
        return 1;
    }
    time_redraws(app, view, model);
    view.resize(1200, 800);
    app.processEvents();
    time_redraws(app, view, model);
    // Zoomed in by hand on the newest lines: most dots fall outside.
    view.resize(view.sizeHint());
    QWheelEvent zoom(QPointF(320, 240), view.mapToGlobal(QPoint(320, 240)), QPoint(),
                     QPoint(0, 600), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &zoom);
    time_redraws(app, view, model);
    return 0;
}
