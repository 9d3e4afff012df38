// A night's log of 1,000,000 rows opened for review: the time to read it and
// show the window, the memory it then holds, and how long a zoom or a pan
// takes to redraw.
#include "benchsupport.h"
#include "csvrow.h"
#include "reviewplot.h"
#include "reviewwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>

static const int rows = 1000000;

// Ten lines a second with a lost minute every 100,000 rows, a flag now and
// then and a port event at each loss.
static bool write_log(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = csv_header();
    const qint64 start = 1780000000000;
    qint64 ms = start;
    for (int n = 0; n < rows; ++n) {
        ms += n % 100000 == 99999 ? 60000 : 100;
        const double speed
            = 1489.8 + 0.4 * std::sin(n * 1e-4) + 0.001 * (n % 17) + (n % 4999 == 0 ? 9.0 : 0.0);
        if (n % 100000 == 99999)
            text += csv_row(ms - 1,
                            {QString(), QString(), QString(), QString(), "port_back", QString()});
        text += csv_row(
            ms,
            {QString::number(speed, 'f', 3), QString::number(10.0 + 0.0001 * (n % 500), 'f', 4),
             QString::number(1489.8, 'f', 3), n % 4999 == 0 ? "spike" : "ok", QString(), "0"});
        if (text.size() > (1 << 20)) {
            file.write(text);
            text.clear();
        }
    }
    return file.write(text) == text.size();
}

static double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values.at(std::min(size_t(values.size() * fraction), values.size() - 1));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("night.csv");
    if (!write_log(path))
        return 1;
    const double before = resident_mb();
    QElapsedTimer clock;
    clock.start();
    ReviewWindow *window = ReviewWindow::open(path, nullptr);
    app.processEvents();
    const double open_s = clock.nsecsElapsed() / 1e9;
    if (!window)
        return 1;
    std::printf("%d rows (%.0f MB): open and show %.2f s (goal under 3), resident %.1f MB "
                "(%.1f MB more than before; goal under 300)\n",
                window->log().size(), QFile(path).size() / 1e6, open_s, resident_mb(),
                resident_mb() - before);

    ReviewPlot *plot = window->plot();
    const QCPRange whole = plot->xAxis->range();
    std::vector<double> zooms, pans;
    for (int i = 0; i < 40; ++i) {
        clock.start();
        // Zoomed in and out around the middle as a mouse wheel would.
        plot->xAxis->scaleRange(i < 20 ? 0.85 : 1 / 0.85, whole.center());
        plot->replot(QCustomPlot::rpImmediateRefresh);
        zooms.push_back(clock.nsecsElapsed() / 1e6);
    }
    plot->xAxis->setRange(whole);
    plot->xAxis->scaleRange(0.5, whole.center());
    for (int i = 0; i < 40; ++i) {
        clock.start();
        plot->xAxis->moveRange(plot->xAxis->range().size() * (i < 20 ? 0.02 : -0.02));
        plot->replot(QCustomPlot::rpImmediateRefresh);
        pans.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("%dx%d plot: zoom median %.1f ms, p99 %.1f ms; pan median %.1f ms, p99 %.1f ms "
                "(goal under 30)\n",
                plot->width(), plot->height(), percentile(zooms, 0.5), percentile(zooms, 0.99),
                percentile(pans, 0.5), percentile(pans, 0.99));
    delete window;
    return 0;
}
