#ifndef LIVEFIGURES_H
#define LIVEFIGURES_H

#include "reviewfigures.h"

#include <deque>

class TrendModel;

// The figures of a span of the live readings as a reviewed log gives them:
// minimum, maximum, mean and spread of the good readings only, the flagged
// ones counted beside them, and the gaps longer than the stale deadline. It
// keeps the totals of each whole chunk of readings the model holds, so a span
// of two hours merges some 350 totals instead of visiting every reading.
class LiveFigures
{
public:
    static constexpr int chunk = 1024;

    // Gaps found from now on are those longer than this.
    void set_stale_ms(qint64 stale_ms) { stale = stale_ms; }
    qint64 stale_ms() const { return stale; }
    // Takes in the readings new since the last call.
    void sync(const TrendModel &model);
    // Over the model's readings from from_ms to to_ms inclusive; the model's
    // malformed lines are those of the whole session. Call sync() first.
    SpanFigures span(const TrendModel &model, qint64 from_ms, qint64 to_ms) const;

private:
    static void add(ReviewTotals &totals, const TrendSample &sample);
    void restart(qint64 first_sequence);

    qint64 stale = 3000;
    qint64 synced = 0; // the model's sequence taken in
    int seen_clears = 0;
    qint64 first_chunk = 0; // chunk number of chunks.front(): readings from first_chunk * chunk
    std::deque<ReviewTotals> chunks;
    ReviewTotals filling; // of the chunk not yet whole
    bool filling_whole = true; // it began at its chunk's first reading
    std::deque<LogGap> gap_list;
    qint64 last_ms = -1;
};

#endif
