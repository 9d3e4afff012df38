#ifndef LIVEFIGURES_H
#define LIVEFIGURES_H

#include "chunkedfigures.h"

class TrendModel;

// The figures of a span of the live readings, by the same engine as those of
// a reviewed log: it takes in each reading the model adds once, and forgets
// what the model's buffer has dropped.
class LiveFigures
{
public:
    // Gaps found from now on are those longer than this.
    void set_stale_ms(qint64 stale_ms) { engine.set_stale_ms(stale_ms); }
    qint64 stale_ms() const { return engine.stale_ms(); }
    // Takes in the readings new since the last call.
    void sync(const TrendModel &model);
    // Over the model's readings from from_ms to to_ms inclusive; the model's
    // malformed lines are those of the whole session. Call sync() first.
    SpanFigures span(const TrendModel &model, qint64 from_ms, qint64 to_ms) const;

private:
    ChunkedFigures engine;
    int seen_clears = 0;
};

#endif
