#ifndef TRENDPLOT_H
#define TRENDPLOT_H

#include <qcustomplot.h>

class TrendModel;
struct SpanStats;

// The trend plot: speed, the block average as the window showed it, and
// temperature on the right-hand axis, against local time; flagged readings
// as red points of their own. It keeps its graphs in step with a model by
// appending only the readings that are new and dropping those the model no
// longer holds, so a tick costs the same with two hours of data as with one
// minute.
class TrendPlot : public QCustomPlot
{
    Q_OBJECT

public:
    explicit TrendPlot(QWidget *parent = nullptr);

    QCPGraph *speed_graph() const { return graph(0); }
    QCPGraph *average_graph() const { return graph(1); }
    QCPGraph *temperature_graph() const { return graph(2); }
    QCPGraph *flagged_graph() const { return graph(3); }

    // Brings the graphs up to the model's readings; true if they changed.
    bool sync(const TrendModel &model);
    // Shows this span of time, in milliseconds since the epoch.
    void show_keys(qint64 from_msecs, qint64 to_msecs);
    // The time span shown, in milliseconds since the epoch.
    qint64 from_msecs() const;
    qint64 to_msecs() const;
    // Fits the value axes to the readings of the span shown.
    void fit_values(const SpanStats &stats);

signals:
    // The operator dragged or zoomed the time axis.
    void keys_moved_by_hand();

private:
    void style_graphs();
    void clear_graphs();
    void append_from(const TrendModel &model, int first);
    void drop_before(double oldest_key, double oldest_average);

    qint64 synced = 0; // the model's sequence the graphs reflect
    int seen_clears = 0;
    bool moving_keys = false; // the key range is being set by show_keys()
};

#endif
