#ifndef REVIEWFIGURES_H
#define REVIEWFIGURES_H

#include "chunkedfigures.h"
#include "reviewlog.h"
#include "reviewoptions.h"

// Figures of a log read back, over any time span or the whole, with the
// cross-check for the water entered. The log must outlive it.
class ReviewFigures
{
public:
    explicit ReviewFigures(const ReviewLog &log, const ReviewOptions &options = ReviewOptions());

    // Computes the cross-check again for this water.
    void set_water(double salinity, double depth);
    qint64 stale_ms() const { return engine.stale_ms(); }
    double salinity() const { return engine.salinity(); }
    double depth() const { return engine.depth(); }

    // Over the readings from from_ms to to_ms inclusive; a gap counts when
    // both its readings are inside.
    SpanFigures span(qint64 from_ms, qint64 to_ms) const;
    SpanFigures whole() const;
    // The pauses between readings longer than the stale deadline.
    const std::deque<LogGap> &gaps() const { return engine.gaps(); }

private:
    void build();
    SpanFigures figures(size_t first, size_t end) const;

    const ReviewLog &log;
    ChunkedFigures engine;
};

#endif
