#include "livefigures.h"

#include "trendmodel.h"

#include <cmath>

void LiveFigures::add(ReviewTotals &totals, const TrendSample &sample)
{
    ++totals.readings;
    if (sample.quality == Quality::range) {
        ++totals.range_count;
    } else if (sample.quality == Quality::spike) {
        ++totals.spike_count;
    } else {
        totals.speed.add(sample.speed);
        if (!std::isnan(sample.temperature))
            totals.temperature.add(sample.temperature);
    }
}

void LiveFigures::restart(qint64 first_sequence)
{
    chunks.clear();
    gap_list.clear();
    filling = ReviewTotals();
    filling_whole = first_sequence % chunk == 0;
    first_chunk = first_sequence / chunk + (filling_whole ? 0 : 1);
    synced = first_sequence;
    last_ms = -1;
}

void LiveFigures::sync(const TrendModel &model)
{
    const TrendBuffer &buffer = model.buffer();
    // Cleared, or readings dropped unseen: start again from what it holds.
    if (model.clear_count() != seen_clears || model.sequence() - synced > buffer.size()) {
        seen_clears = model.clear_count();
        restart(model.sequence() - buffer.size());
    }
    const qint64 base = model.sequence() - buffer.size(); // the sequence of buffer.at(0)
    for (qint64 sequence = synced; sequence < model.sequence(); ++sequence) {
        const TrendSample &sample = buffer.at(int(sequence - base));
        if (last_ms >= 0 && sample.msecs - last_ms > stale)
            gap_list.push_back({last_ms, sample.msecs});
        last_ms = sample.msecs;
        add(filling, sample);
        if ((sequence + 1) % chunk == 0) {
            if (filling_whole)
                chunks.push_back(filling);
            filling = ReviewTotals();
            filling_whole = true;
        }
    }
    synced = model.sequence();
    while (!chunks.empty() && first_chunk * chunk < base) {
        chunks.pop_front();
        ++first_chunk;
    }
    while (!gap_list.empty() && (buffer.empty() || gap_list.front().from_ms < buffer.at(0).msecs))
        gap_list.pop_front();
}

SpanFigures LiveFigures::span(const TrendModel &model, qint64 from_ms, qint64 to_ms) const
{
    const TrendBuffer &buffer = model.buffer();
    const qint64 base = model.sequence() - buffer.size();
    const int first = buffer.first_at_or_after(from_ms);
    const int end = buffer.first_at_or_after(to_ms + 1);
    SpanFigures result;
    for (int i = first; i < end;) {
        const qint64 number = (base + i) / chunk - first_chunk;
        if ((base + i) % chunk == 0 && i + chunk <= end && number >= 0
            && number < qint64(chunks.size())) {
            result.merge(chunks[size_t(number)]);
            i += chunk;
        } else {
            add(result, buffer.at(i++));
        }
    }
    if (result.readings >= 2 && buffer.at(end - 1).msecs > buffer.at(first).msecs)
        result.rate = double(result.readings - 1) * 1000.0
            / double(buffer.at(end - 1).msecs - buffer.at(first).msecs);
    for (const LogGap &gap : gap_list) {
        if (gap.from_ms >= from_ms && gap.to_ms <= to_ms) {
            ++result.gap_count;
            result.gap_ms += gap.to_ms - gap.from_ms;
        }
    }
    result.rejected = model.malformed_count();
    return result;
}
