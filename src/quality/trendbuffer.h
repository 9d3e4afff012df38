#ifndef TRENDBUFFER_H
#define TRENDBUFFER_H

#include "qualitycheck.h"

#include <QtGlobal>

#include <vector>

// One valid reading as the trend keeps it.
struct TrendSample
{
    qint64 msecs; // UTC milliseconds since the epoch, when it was read
    double speed; // m/s
    double average; // the block average shown after this line; NaN before the first block
    double temperature; // degC; NaN when the line had none
    Quality quality;
};

// The newest readings, oldest first. Full, each new reading pushes out the
// oldest, so memory stays fixed however long the program runs.
class TrendBuffer
{
public:
    static constexpr int default_capacity = 360000; // two hours at 50 lines a second

    explicit TrendBuffer(int capacity = default_capacity);

    void append(const TrendSample &sample);
    void clear();

    int size() const { return int(items.size()); }
    int capacity() const { return limit; }
    bool empty() const { return items.empty(); }
    // index 0 is the oldest reading kept.
    const TrendSample &at(int index) const;
    const TrendSample &last() const { return at(size() - 1); }

    // Index of the first reading read at or after msecs; size() if none.
    // Reading times never go backwards, so the buffer is sorted by them.
    int first_at_or_after(qint64 msecs) const;

private:
    std::vector<TrendSample> items;
    int limit;
    int oldest = 0; // where index 0 lies in items once the buffer is full
};

#endif
