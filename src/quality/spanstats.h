#ifndef SPANSTATS_H
#define SPANSTATS_H

#include <QtGlobal>

class TrendBuffer;
struct TrendSample;

// Count, extremes, mean and spread of a series, updated one value at a time
// (Welford's method): no large sums, so readings near 1500 m/s keep their
// millimetre-per-second differences.
struct RunningMoments
{
    qint64 count = 0;
    double min = 0.0;
    double max = 0.0;
    double mean = 0.0;
    double squares = 0.0; // sum of squared differences from the mean

    void add(double value);
    // Takes in the values other was built from (Chan, Golub and LeVeque).
    void merge(const RunningMoments &other);
    // Sample standard deviation; NaN for fewer than two values.
    double deviation() const;
};

// Figures of a run of readings that add up: those of two runs merge into
// those of both, so the buffer keeps them for fixed chunks of readings.
struct SampleTotals
{
    RunningMoments speed;
    RunningMoments temperature; // over the readings that had one
    qint64 range_count = 0;
    qint64 spike_count = 0;

    void add(const TrendSample &sample);
    void merge(const SampleTotals &other);
};

// Figures over the readings of a time span.
struct SpanStats : SampleTotals
{
    qint64 count = 0;
    double rate = 0.0; // lines a second between the first and last reading; 0 if undefined
};

// Over the readings of buffer read from from_msecs to to_msecs inclusive.
// Whole chunks come from the buffer's totals, so a span of two hours costs
// little more than one of five minutes.
SpanStats span_stats(const TrendBuffer &buffer, qint64 from_msecs, qint64 to_msecs);

#endif
