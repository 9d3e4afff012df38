#ifndef REVIEWFIGURES_H
#define REVIEWFIGURES_H

#include "reviewlog.h"
#include "reviewoptions.h"
#include "reviewtotals.h"
#include "soundspeed.h"

#include <array>
#include <vector>

// The measured speed against one equation for the water entered.
struct CrossCheckFigure
{
    SoundEquation equation = SoundEquation::unesco;
    double mean_difference = 0.0; // measured minus computed, m/s; NaN without readings
    // The salinity at which the equation gives the mean measured speed at the
    // mean temperature; NaN when none does.
    double implied_salinity = 0.0;
    bool water_valid = false; // the entered water at the mean temperature is in range
    bool implied_valid = false; // so is the implied salinity
};

struct LogGap
{
    qint64 from_ms, to_ms; // the readings either side
};

struct SpanFigures : ReviewTotals
{
    double rate = 0.0; // lines a second from the first reading to the last; 0 if undefined
    qint64 rejected = 0; // malformed lines, or a log's unreadable rows
    qint64 gap_count = 0;
    qint64 gap_ms = 0;
    std::array<CrossCheckFigure, equations> cross_check;
};

// Figures of a log read back, over any time span or the whole. The totals of
// fixed chunks of readings are kept, so a span of a million readings merges
// a thousand totals and visits at most two chunks' readings. The log must
// outlive it.
class ReviewFigures
{
public:
    static constexpr int chunk = 1024;
    static const std::array<SoundEquation, ReviewTotals::equations> equations;

    explicit ReviewFigures(const ReviewLog &log, const ReviewOptions &options = ReviewOptions());

    // Finds the gaps again: pauses between readings longer than stale_ms.
    void set_stale_ms(qint64 stale_ms);
    // Computes the cross-check again for this water.
    void set_water(double salinity, double depth);
    qint64 stale_ms() const { return stale; }
    double salinity() const { return water_salinity; }
    double depth() const { return water_depth; }

    // Over the readings from from_ms to to_ms inclusive; a gap counts when
    // both its readings are inside.
    SpanFigures span(qint64 from_ms, qint64 to_ms) const;
    SpanFigures whole() const;
    const std::vector<LogGap> &gaps() const { return gap_list; }

private:
    void add_row(ReviewTotals &totals, size_t row) const;
    SpanFigures figures(size_t first, size_t end) const;
    void finish(SpanFigures &figures) const;
    void find_gaps();
    void build_chunks();

    const ReviewLog &log;
    qint64 stale;
    double water_salinity, water_depth;
    std::vector<ReviewTotals> chunks; // chunk n: readings n * chunk onwards
    std::vector<LogGap> gap_list;
    std::vector<qint64> gap_before; // total time of the gaps before each one
};

#endif
