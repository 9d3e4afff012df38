#include "reviewplot.h"

#include "reviewlog.h"
#include "trendbuffer.h"

#include <cmath>

static const char *const mark_names[ReviewPlot::marks]
    = {QT_TRANSLATE_NOOP("ReviewPlot", "端口断开/恢复"), QT_TRANSLATE_NOOP("ReviewPlot", "配置"),
       QT_TRANSLATE_NOOP("ReviewPlot", "报警"), QT_TRANSLATE_NOOP("ReviewPlot", "输入格式")};

// Marks reach a tenth of the way up from the time axis.
static const double mark_height = 0.1;

ReviewPlot::ReviewPlot(QWidget *parent) : TrendPlot(parent)
{
    QCPAxis *heights = axisRect()->addAxis(QCPAxis::atLeft);
    heights->setVisible(false);
    heights->setRange(0.0, 1.0);
    const QColor colours[marks]
        = {QColor(150, 0, 150), QColor(90, 90, 90), QColor(200, 0, 0), QColor(0, 120, 160)};
    for (int mark = 0; mark < marks; ++mark) {
        QCPGraph *graph = addGraph(xAxis, heights);
        graph->setName(tr(mark_names[mark]));
        graph->setPen(QPen(colours[mark], 1.5));
        graph->setLineStyle(QCPGraph::lsImpulse);
        graph->setScatterStyle(
            QCPScatterStyle(QCPScatterStyle::ssTriangleInverted, colours[mark], colours[mark], 6));
    }
}

static ReviewPlot::Mark mark_of(const QString &event)
{
    if (event.startsWith(QLatin1String("port_")))
        return ReviewPlot::port_mark;
    if (event.startsWith(QLatin1String("config_")))
        return ReviewPlot::configuration_mark;
    if (event.startsWith(QLatin1String("alarm_")))
        return ReviewPlot::alarm_mark;
    if (event.startsWith(QLatin1String("format:")))
        return ReviewPlot::format_mark;
    return ReviewPlot::marks;
}

void ReviewPlot::load(const ReviewLog &log, qint64 stale_ms)
{
    clear_graphs();
    set_stale_ms(stale_ms);
    append(0, log.size(), [&log](int i) {
        return TrendSample{log.time[size_t(i)], log.speed[size_t(i)],
                           double(log.average[size_t(i)]), log.temperature[size_t(i)],
                           Quality(log.quality[size_t(i)])};
    });
    for (const LogEvent &event : log.events) {
        const Mark mark = mark_of(event.name);
        if (mark != marks)
            mark_graph(mark)->addData(double(event.utc_ms) / 1000.0, mark_height);
    }
    // A kind of event the log does not hold needs no place in the legend.
    for (int mark = 0; mark < marks; ++mark)
        if (mark_graph(Mark(mark))->data()->isEmpty())
            mark_graph(Mark(mark))->removeFromLegend();
    show_keys(log.start_ms, qMax(log.end_ms, log.start_ms + 1000));
}
