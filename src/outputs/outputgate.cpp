#include "outputgate.h"

bool OutputGate::decide(Quality quality, qint64 now_ms)
{
    const bool good = quality == Quality::ok;
    if (!good && gate_mode == good_only) {
        holding_back = true;
        return false;
    }
    holding_back = false;
    last_sent_ms = now_ms;
    if (good) {
        have_good = true;
        last_good_ms = now_ms;
    }
    return true;
}

bool OutputGate::hold_due(qint64 now_ms) const
{
    return hold && holding_back && have_good && now_ms < last_good_ms + stale_ms
        && now_ms - last_sent_ms >= repeat_ms;
}

void OutputGate::reset()
{
    have_good = false;
    holding_back = false;
    last_good_ms = 0;
    last_sent_ms = 0;
}
