#ifndef TRENDPLOT_H
#define TRENDPLOT_H

#include <qcustomplot.h>

#include <functional>

class TrendModel;
struct RunningMoments;
struct TrendSample;

// The trend plot: speed, the block average as the window showed it, and
// temperature on the right-hand axis, against UTC; flagged readings as dots
// of their own colour. The speed line joins the good readings only and every
// line breaks where no reading came for longer than the stale deadline, so a
// lost device never looks like steady data. It keeps its graphs in step with
// a model by appending only the readings that are new and dropping those the
// model no longer holds, so a tick costs the same with two hours of data as
// with one minute.
class TrendPlot : public QCustomPlot
{
    Q_OBJECT

public:
    explicit TrendPlot(QWidget *parent = nullptr);

    QCPGraph *speed_graph() const { return graph(0); }
    QCPGraph *average_graph() const { return graph(1); }
    QCPGraph *temperature_graph() const { return graph(2); }
    // Flagged readings as drawn: those beyond the speed axis at its edge.
    QCPGraph *flagged_graph() const { return graph(3); }

    void set_stale_ms(qint64 stale_ms) { stale = stale_ms; }
    // Brings the graphs up to the model's readings; true if they changed.
    bool sync(const TrendModel &model);
    // Shows this span of time, in milliseconds since the epoch.
    void show_keys(qint64 from_msecs, qint64 to_msecs);
    // The time span shown, in milliseconds since the epoch.
    qint64 from_msecs() const;
    qint64 to_msecs() const;
    // Fits the value axes to these readings (the good ones of the span shown).
    void fit_values(const RunningMoments &speed, const RunningMoments &temperature);

    // A picture of 1600 x 900 pixels with this title above the plot and the
    // axes named with their units.
    bool export_png(const QString &path, const QString &title);

signals:
    // The operator dragged or zoomed the time axis.
    void keys_moved_by_hand();

protected:
    void clear_graphs();
    // Appends the readings sample(first) to sample(end - 1), in time order.
    void append(int first, int end, const std::function<TrendSample(int)> &sample);

private:
    void style_graphs();
    void drop_before(double oldest_key, double oldest_average);
    void place_flagged();

    qint64 stale = 3000;
    qint64 synced = 0; // the model's sequence the graphs reflect
    int seen_clears = 0;
    bool moving_keys = false; // the key range is being set by show_keys()
    double last_key, last_good_key, last_temperature_key; // NaN before the first
    // The flagged readings' true speeds; the drawn ones are placed from them.
    QSharedPointer<QCPGraphDataContainer> flagged;
    QCPRange placed_for; // the speed range the drawn flags were placed for
    bool flags_changed = false;
    int dropped_in_place = 0; // points dropped from the lines' fronts, still allocated
};

#endif
