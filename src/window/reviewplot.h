#ifndef REVIEWPLOT_H
#define REVIEWPLOT_H

#include "trendplot.h"

struct ReviewLog;

// The trend plot of a log read back, with its events as marks along the
// time axis: the port lost and back, configurations, alarms, the input
// format found.
class ReviewPlot : public TrendPlot
{
    Q_OBJECT

public:
    explicit ReviewPlot(QWidget *parent = nullptr);

    // Shows the whole of log; it need not outlive the plot.
    void load(const ReviewLog &log, qint64 stale_ms);

    enum Mark { port_mark, configuration_mark, alarm_mark, format_mark, marks };
    QCPGraph *mark_graph(Mark mark) const { return graph(4 + mark); }
};

#endif
