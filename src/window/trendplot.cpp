#include "trendplot.h"

#include "spanstats.h"
#include "trendfigures.h"
#include "trendmodel.h"

#include <algorithm>
#include <cmath>
#include <limits>

static const double no_value = std::numeric_limits<double>::quiet_NaN();

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

TrendPlot::TrendPlot(QWidget *parent) : QCustomPlot(parent)
{
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeSpec(Qt::LocalTime);
    xAxis->setTicker(ticker);
    yAxis2->setVisible(true);

    addGraph(xAxis, yAxis)->setName(speed_caption);
    addGraph(xAxis, yAxis)->setName(average_caption);
    addGraph(xAxis, yAxis2)->setName(temperature_caption);
    addGraph(xAxis, yAxis)->setName(flagged_caption);
    style_graphs();

    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    setNoAntialiasingOnDrag(true);

    connect(xAxis, QOverload<const QCPRange &>::of(&QCPAxis::rangeChanged), this,
            [this, ticker](const QCPRange &range) {
                ticker->setDateTimeFormat(range.size() <= 600 ? "hh:mm:ss" : "hh:mm");
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
    for (QCPAxis *axis : {xAxis, yAxis, yAxis2})
        axis->setTickLabelFont(small);
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
    append_from(model, buffer.size() - int(fresh));
    synced = model.sequence();
    drop_before(key_of(buffer.at(0).msecs), buffer.at(0).average);
    return true;
}

void TrendPlot::clear_graphs()
{
    for (int i = 0; i < graphCount(); ++i)
        graph(i)->data()->clear();
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

void TrendPlot::append_from(const TrendModel &model, int first)
{
    const TrendBuffer &buffer = model.buffer();
    const int count = buffer.size() - first;
    QVector<double> keys, speeds, temperature_keys, temperatures, flag_keys, flag_speeds;
    keys.reserve(count);
    speeds.reserve(count);
    temperature_keys.reserve(count);
    temperatures.reserve(count);
    QCPGraphDataContainer &steps = *average_graph()->data();
    const QCPGraphDataContainer &old_temperatures = *temperature_graph()->data();
    double previous_temperature
        = old_temperatures.isEmpty() ? no_value : (old_temperatures.constEnd() - 1)->value;

    for (int i = first; i < buffer.size(); ++i) {
        const TrendSample &sample = buffer.at(i);
        const double key = key_of(sample.msecs);
        keys.append(key);
        speeds.append(sample.speed);
        step_average(steps, key, sample.average);
        // A missing temperature breaks the line once, not at every reading.
        if (!std::isnan(sample.temperature) || !std::isnan(previous_temperature)) {
            temperature_keys.append(key);
            temperatures.append(sample.temperature);
            previous_temperature = sample.temperature;
        }
        if (sample.quality != Quality::ok) {
            flag_keys.append(key);
            flag_speeds.append(sample.speed);
        }
    }
    speed_graph()->addData(keys, speeds, true);
    temperature_graph()->addData(temperature_keys, temperatures, true);
    flagged_graph()->addData(flag_keys, flag_speeds, true);
}

void TrendPlot::drop_before(double oldest_key, double oldest_average)
{
    for (int i = 0; i < graphCount(); ++i)
        graph(i)->data()->removeBefore(oldest_key);
    // The step that began before the oldest reading still shows from there.
    QCPGraphDataContainer &steps = *average_graph()->data();
    if (!steps.isEmpty() && steps.constBegin()->key > oldest_key)
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

void TrendPlot::fit_values(const SpanStats &stats)
{
    if (stats.speed.count > 0)
        yAxis->setRange(padded(stats.speed));
    if (stats.temperature.count > 0)
        yAxis2->setRange(padded(stats.temperature));
}
