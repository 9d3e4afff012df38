#include "trendplot.h"

#include "spanstats.h"
#include "trendfigures.h"
#include "trendmodel.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

static const double no_value = std::numeric_limits<double>::quiet_NaN();
static const char time_axis_name[] = QT_TRANSLATE_NOOP("TrendPlot", "时间 (UTC)");
static const char speed_axis_name[] = QT_TRANSLATE_NOOP("TrendPlot", "声速 (m/s)");
static const char temperature_axis_name[] = QT_TRANSLATE_NOOP("TrendPlot", "温度 (°C)");

static double key_of(qint64 msecs)
{
    return double(msecs) / 1000.0;
}

// A little room above and below, and never a flat range for a steady series.
static QCPRange padded(const RunningMoments &moments)
{
    const double pad = std::max((moments.max - moments.min) * 0.08, 0.05);
    return QCPRange(moments.min - pad, moments.max + pad);
}

TrendPlot::TrendPlot(QWidget *parent)
    : QCustomPlot(parent), last_key(no_value), last_good_key(no_value),
      last_temperature_key(no_value), flagged(new QCPGraphDataContainer)
{
    // UTC like the log, the CSV export and the report, so times agree.
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeSpec(Qt::UTC);
    xAxis->setTicker(ticker);
    yAxis2->setVisible(true);

    const auto caption
        = [](const char *text) { return QCoreApplication::translate("TrendFigures", text); };
    addGraph(xAxis, yAxis)->setName(caption(speed_caption));
    addGraph(xAxis, yAxis)->setName(caption(average_caption));
    addGraph(xAxis, yAxis2)->setName(caption(temperature_caption));
    addGraph(xAxis, yAxis)->setName(caption(flagged_caption));
    style_graphs();

    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    setNoAntialiasingOnDrag(true);

    connect(xAxis, QOverload<const QCPRange &>::of(&QCPAxis::rangeChanged), this,
            [this, ticker](const QCPRange &range) {
                ticker->setDateTimeFormat(range.size() > 86400      ? "MM-dd hh:mm"
                                              : range.size() <= 600 ? "hh:mm:ss"
                                                                    : "hh:mm");
                if (!moving_keys)
                    emit keys_moved_by_hand();
            });
}

void TrendPlot::style_graphs()
{
    const QColor speed_colour(30, 90, 200), average_colour(230, 120, 0),
        temperature_colour(0, 140, 70);
    // Thin pens only: over two hours of readings a wider one makes a redraw
    // several times slower.
    speed_graph()->setPen(QPen(speed_colour));
    average_graph()->setPen(QPen(average_colour));
    // The average holds its value until the next block, as on the display.
    average_graph()->setLineStyle(QCPGraph::lsStepLeft);
    temperature_graph()->setPen(QPen(temperature_colour));
    flagged_graph()->setLineStyle(QCPGraph::lsNone);
    flagged_graph()->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, Qt::red, 5));
    yAxis->setTickLabelColor(speed_colour);
    yAxis2->setTickLabelColor(temperature_colour);

    QFont small = font();
    small.setPointSize(7);
    for (QCPAxis *axis : {xAxis, yAxis, yAxis2}) {
        axis->setTickLabelFont(small);
        axis->setLabelFont(small);
    }
    // The legend takes a single row above the plot, where it hides no data.
    legend->setVisible(true);
    legend->setFont(small);
    legend->setBorderPen(Qt::NoPen);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setMargins(QMargins(4, 2, 4, 0));
    legend->setIconSize(14, 6);
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, legend);
    plotLayout()->setRowStretchFactor(0, 0.001);
    plotLayout()->setRowSpacing(0);
    axisRect()->setAutoMargins(QCP::msLeft | QCP::msRight | QCP::msBottom);
    axisRect()->setMargins(QMargins(0, 6, 0, 0));
}

bool TrendPlot::sync(const TrendModel &model)
{
    const TrendBuffer &buffer = model.buffer();
    bool changed = false;
    // Cleared, or so far behind that readings were dropped unseen: start again.
    if (model.clear_count() != seen_clears || model.sequence() - synced > buffer.size()) {
        clear_graphs();
        seen_clears = model.clear_count();
        synced = model.sequence() - buffer.size();
        changed = true;
    }
    const qint64 fresh = model.sequence() - synced;
    if (fresh == 0)
        return changed;
    append(buffer.size() - int(fresh), buffer.size(), [&buffer](int i) { return buffer.at(i); });
    synced = model.sequence();
    drop_before(key_of(buffer.at(0).msecs), buffer.at(0).average);
    return true;
}

void TrendPlot::clear_graphs()
{
    for (int i = 0; i < graphCount(); ++i)
        graph(i)->data()->clear();
    flagged->clear();
    flags_changed = true;
    last_key = last_good_key = last_temperature_key = no_value;
}

// The average changes once a block, so it is kept as steps: a point where
// the value changes and one at the newest reading, which moves along while
// the value stays.
static void step_average(QCPGraphDataContainer &steps, double key, double value)
{
    const int count = steps.size();
    if (std::isnan(value)) {
        if (count > 0 && !std::isnan((steps.constEnd() - 1)->value))
            steps.add(QCPGraphData(key, no_value));
        return;
    }
    if (count >= 2) {
        const auto last = steps.end() - 1;
        if (last->value == value && (last - 1)->value == value) {
            last->key = key;
            return;
        }
    }
    steps.add(QCPGraphData(key, value));
}

// Adds key, value to a line, first a break if the line's last point is more
// than stale_s before it.
static void add_point(QVector<QCPGraphData> &line, double &last, double key, double value,
                      double stale_s)
{
    if (key - last > stale_s)
        line.append(QCPGraphData((last + key) / 2, no_value));
    line.append(QCPGraphData(key, value));
    last = key;
}

void TrendPlot::append(int first, int end, const std::function<TrendSample(int)> &sample_at)
{
    QVector<QCPGraphData> speeds, temperatures, flags;
    speeds.reserve(end - first);
    temperatures.reserve(end - first);
    QCPGraphDataContainer &steps = *average_graph()->data();
    const double stale_s = double(stale) / 1000.0;
    for (int i = first; i < end; ++i) {
        const TrendSample sample = sample_at(i);
        const double key = key_of(sample.msecs);
        // Where nothing came for longer than the deadline the average breaks too.
        if (key - last_key > stale_s)
            step_average(steps, last_key, no_value);
        step_average(steps, key, sample.average);
        last_key = key;
        if (sample.quality == Quality::ok)
            add_point(speeds, last_good_key, key, sample.speed, stale_s);
        else
            flags.append(QCPGraphData(key, sample.speed));
        // A missing temperature breaks the line once, not at every reading.
        if (!std::isnan(sample.temperature))
            add_point(temperatures, last_temperature_key, key, sample.temperature, stale_s);
        else if (!std::isnan(last_temperature_key)) {
            temperatures.append(QCPGraphData(key, no_value));
            last_temperature_key = no_value;
        }
    }
    speed_graph()->data()->add(speeds, true);
    temperature_graph()->data()->add(temperatures, true);
    flagged->add(flags, true);
    flags_changed = flags_changed || !flags.isEmpty();
}

void TrendPlot::drop_before(double oldest_key, double oldest_average)
{
    const int speeds_before = speed_graph()->data()->size();
    for (int i = 0; i < graphCount(); ++i)
        graph(i)->data()->removeBefore(oldest_key);
    // A line only marks what it drops as free room at its front, and would
    // grow at its end to half again its size before it gave that back: with
    // the buffer full, memory kept growing. Moved back now and then, the room
    // at the end takes the new points.
    dropped_in_place += speeds_before - speed_graph()->data()->size();
    if (dropped_in_place > speed_graph()->data()->size() / 10) {
        for (int i = 0; i < graphCount(); ++i)
            graph(i)->data()->squeeze(true, false);
        flagged->squeeze(true, false);
        dropped_in_place = 0;
    }
    const int flags_before = flagged->size();
    flagged->removeBefore(oldest_key);
    flags_changed = flags_changed || flagged->size() != flags_before;
    // The step that began before the oldest reading still shows from there.
    QCPGraphDataContainer &steps = *average_graph()->data();
    if (!steps.isEmpty() && steps.constBegin()->key > oldest_key && !std::isnan(oldest_average))
        steps.add(QCPGraphData(oldest_key, oldest_average));
}

void TrendPlot::show_keys(qint64 from_msecs, qint64 to_msecs)
{
    moving_keys = true;
    xAxis->setRange(key_of(from_msecs), key_of(to_msecs));
    moving_keys = false;
}

qint64 TrendPlot::from_msecs() const
{
    return qint64(std::llround(xAxis->range().lower * 1000.0));
}

qint64 TrendPlot::to_msecs() const
{
    return qint64(std::llround(xAxis->range().upper * 1000.0));
}

void TrendPlot::fit_values(const RunningMoments &speed, const RunningMoments &temperature)
{
    if (speed.count > 0)
        yAxis->setRange(padded(speed));
    if (temperature.count > 0)
        yAxis2->setRange(padded(temperature));
    place_flagged();
}

// A flagged reading beyond the speed axis is drawn at its edge, so the axis
// keeps the scale of the good readings and the flag is still seen.
void TrendPlot::place_flagged()
{
    const QCPRange range = yAxis->range();
    if (!flags_changed && range == placed_for)
        return;
    flags_changed = false;
    placed_for = range;
    const double inset = range.size() * 0.01;
    QVector<QCPGraphData> placed(flagged->size());
    std::transform(
        flagged->constBegin(), flagged->constEnd(), placed.begin(), [&](const QCPGraphData &point) {
            return QCPGraphData(point.key,
                                qBound(range.lower + inset, point.value, range.upper - inset));
        });
    flagged_graph()->data()->set(placed, true);
}

bool TrendPlot::export_png(const QString &path, const QString &title)
{
    auto *heading = new QCPTextElement(this, title, QFont(font().family(), 9, QFont::Bold));
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, heading);
    xAxis->setLabel(tr(time_axis_name));
    yAxis->setLabel(tr(speed_axis_name));
    yAxis2->setLabel(tr(temperature_axis_name));
    // Drawn at twice the size, so the text stays readable at 1600 x 900.
    const bool saved = savePng(path, 800, 450, 2.0);
    for (QCPAxis *axis : {xAxis, yAxis, yAxis2})
        axis->setLabel(QString());
    plotLayout()->remove(heading);
    plotLayout()->simplify();
    replot();
    return saved;
}
