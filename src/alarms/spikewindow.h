#ifndef SPIKEWINDOW_H
#define SPIKEWINDOW_H

#include <QVector>

// Whether more than `limit` spike-flagged readings came within the last
// minute. Only the latest limit + 1 times are kept, in a ring: there are more
// than limit in the minute exactly when the oldest of them is in it.
class SpikeWindow
{
public:
    static const qint64 span_ms = 60000;

    explicit SpikeWindow(int limit = 10) { set_limit(limit); }
    // Forgets the times seen so far.
    void set_limit(int limit);
    int limit() const { return times.size() - 1; }

    void add(qint64 utc_ms);
    // A time counts while it is less than span_ms before now_ms.
    bool over(qint64 now_ms) const;
    // From when over() turns false if no spike comes; 0 while it cannot be over.
    qint64 clears_ms() const;

private:
    QVector<qint64> times;
    int next = 0; // where the next time goes; the oldest once the ring is full
    int filled = 0;
};

#endif
