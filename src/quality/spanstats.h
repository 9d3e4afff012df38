#ifndef SPANSTATS_H
#define SPANSTATS_H

#include <QtGlobal>

#include <array>

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

// Figures of a run of readings that add up, so those of whole chunks are
// kept and a span merges them. Only good readings (quality ok) enter the
// moments and the cross-check; flagged ones are counted beside them.
struct FigureTotals
{
    static constexpr int equations = 3; // UNESCO, Del Grosso, Mackenzie

    qint64 readings = 0; // valid lines, flagged or not
    RunningMoments speed; // good readings, m/s
    RunningMoments temperature; // good readings that had one, degC
    // The flagged readings' own, which scale a plot that has no good ones.
    RunningMoments flagged_speed, flagged_temperature;
    qint64 range_count = 0;
    qint64 spike_count = 0;
    // Over the good readings with a temperature, while a water is set: their
    // speeds, and the measured minus computed speed by each equation.
    double paired_speed_sum = 0.0;
    std::array<double, equations> difference_sum{};

    void merge(const FigureTotals &other);
};

#endif
