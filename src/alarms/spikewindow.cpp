#include "spikewindow.h"

void SpikeWindow::set_limit(int limit)
{
    times.fill(0, qMax(limit, 0) + 1);
    next = 0;
    filled = 0;
}

void SpikeWindow::add(qint64 utc_ms)
{
    times[next] = utc_ms;
    next = (next + 1) % times.size();
    if (filled < times.size())
        ++filled;
}

bool SpikeWindow::over(qint64 now_ms) const
{
    return filled == times.size() && now_ms - times[next] < span_ms;
}

qint64 SpikeWindow::clears_ms() const
{
    return filled == times.size() ? times[next] + span_ms : 0;
}
