#ifndef REVIEWTOTALS_H
#define REVIEWTOTALS_H

#include "spanstats.h"

#include <QtGlobal>

#include <array>

// Figures of a run of readings that add up, so those of whole chunks of a
// log are kept and a span merges them. Only good readings (quality ok) enter
// the moments and the cross-check; flagged ones are counted beside them.
struct ReviewTotals
{
    static constexpr int equations = 3; // UNESCO, Del Grosso, Mackenzie

    qint64 readings = 0; // valid lines, flagged or not
    RunningMoments speed; // good readings, m/s
    RunningMoments temperature; // good readings that had one, degC
    qint64 range_count = 0;
    qint64 spike_count = 0;
    // Over the good readings with a temperature: their speeds, and the
    // measured minus computed speed by each equation.
    double paired_speed_sum = 0.0;
    std::array<double, equations> difference_sum{};

    void merge(const ReviewTotals &other);
};

#endif
