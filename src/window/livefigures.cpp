#include "livefigures.h"

#include "trendmodel.h"

void LiveFigures::sync(const TrendModel &model)
{
    const TrendBuffer &buffer = model.buffer();
    const qint64 base = model.sequence() - buffer.size(); // the number of buffer.at(0)
    // Cleared, or readings dropped unseen: start again from what it holds.
    if (model.clear_count() != seen_clears || engine.next_number() < base) {
        seen_clears = model.clear_count();
        engine.restart(base);
    }
    for (qint64 number = engine.next_number(); number < model.sequence(); ++number)
        engine.append(buffer.at(int(number - base)));
    if (!buffer.empty())
        engine.forget_before(base, buffer.at(0).msecs);
}

SpanFigures LiveFigures::span(const TrendModel &model, qint64 from_ms, qint64 to_ms) const
{
    const TrendBuffer &buffer = model.buffer();
    const qint64 base = model.sequence() - buffer.size();
    const int first = buffer.first_at_or_after(from_ms);
    const int end = buffer.first_at_or_after(to_ms + 1);
    SpanFigures result = engine.span(base + first, base + end,
                                     [&](qint64 number) { return buffer.at(int(number - base)); });
    result.rejected = model.malformed_count();
    return result;
}
