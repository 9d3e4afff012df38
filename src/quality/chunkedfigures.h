#ifndef CHUNKEDFIGURES_H
#define CHUNKEDFIGURES_H

#include "soundspeed.h"
#include "spanstats.h"
#include "trendbuffer.h"

#include <array>
#include <deque>
#include <functional>

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

struct SpanFigures : FigureTotals
{
    double rate = 0.0; // lines a second from the first reading to the last; 0 if undefined
    qint64 rejected = 0; // malformed lines, or a log's unreadable rows; the caller's to fill
    qint64 gap_count = 0;
    qint64 gap_ms = 0;
    std::array<CrossCheckFigure, equations> cross_check; // while a water is set
};

// The figures of a series of readings over any span, the same for the live
// trend and for a log read back: minimum, maximum, mean and spread of the
// good readings and of their temperature, the flagged ones counted beside
// them, the rate, the gaps longer than the stale deadline and, while a water
// is set, the cross-check. Readings are numbered in the order they come and
// stay with the caller; the totals of each whole chunk of them are kept, so
// a span merges totals and visits at most two chunks' readings one by one.
class ChunkedFigures
{
public:
    static constexpr int chunk = 1024;
    static const std::array<SoundEquation, FigureTotals::equations> equations;
    // The reading of a number the caller holds.
    using ReadingAt = std::function<TrendSample(qint64 number)>;

    // A pause between readings longer than this is a gap; applies to the
    // readings appended from now on.
    void set_stale_ms(qint64 stale_ms) { stale = stale_ms; }
    qint64 stale_ms() const { return stale; }
    // The water the cross-check computes the speed for; applies to the
    // readings appended from now on.
    void set_water(double salinity, double depth);
    double salinity() const { return water_salinity; }
    double depth() const { return water_depth; }

    // Forgets every reading; the next one appended has number first.
    void restart(qint64 first = 0);
    // The next reading, its time not before the last one's.
    void append(const TrendSample &reading);
    // The caller no longer holds the readings before number first, whose
    // time was first_ms: their totals and gaps go.
    void forget_before(qint64 first, qint64 first_ms);
    qint64 next_number() const { return next; }

    // Over the readings numbered first to end (end excluded), all held; a gap
    // counts when both its readings are inside.
    SpanFigures span(qint64 first, qint64 end, const ReadingAt &at) const;
    // Oldest first.
    const std::deque<LogGap> &gaps() const { return gap_list; }

private:
    void add(FigureTotals &totals, const TrendSample &reading) const;
    void count_gaps(SpanFigures &figures, qint64 from_ms, qint64 to_ms) const;
    void cross_check(SpanFigures &figures) const;

    qint64 stale = 3000;
    bool water = false;
    double water_salinity = 35.0, water_depth = 0.0;

    qint64 next = 0; // the number of the next reading appended
    qint64 first_chunk = 0; // number of chunks.front(): readings from first_chunk * chunk
    std::deque<FigureTotals> chunks;
    FigureTotals filling; // of the chunk not yet whole
    bool filling_whole = true; // it began at its chunk's first reading
    qint64 last_ms = -1; // of the last reading appended; -1 before the first
    std::deque<LogGap> gap_list;
    std::deque<qint64> gap_before; // total time of the gaps before each one since the restart
    qint64 gap_total = 0;
};

#endif
