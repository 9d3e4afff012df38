#ifndef QUALITYCHECK_H
#define QUALITYCHECK_H

#include <QtGlobal>

#include <array>

// How a reading looked when it arrived: within the limits and in line with
// its neighbours, outside the limits, or a jump away from the recent median.
enum class Quality : quint8 { ok, range, spike };

// The word the CSV log writes for a quality.
const char *quality_name(Quality quality);

// Judges each reading against fixed limits and against the median of the
// readings before it. The median, unlike a mean, is not dragged along by a
// single wild reading, so one spike does not make its neighbours look wrong.
class QualityCheck
{
public:
    static constexpr int window = 11; // earlier readings the median is taken over
    static constexpr int least = 3; // fewer earlier readings give no spike judgement

    void set_range(double low, double high);
    void set_spike_threshold(double threshold) { spike_threshold = threshold; }
    double spike() const { return spike_threshold; }
    double range_low() const { return low; }
    double range_high() const { return high; }

    // The quality of speed; the reading then joins the earlier ones.
    Quality judge(double speed);
    void reset();

private:
    double median_of_recent() const;

    double low = 1400.0;
    double high = 1600.0;
    double spike_threshold = 2.0;
    std::array<double, window> recent{};
    int filled = 0;
    int next = 0; // where the next reading goes in recent
};

#endif
