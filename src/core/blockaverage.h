#ifndef BLOCKAVERAGE_H
#define BLOCKAVERAGE_H

#include <QString>

// The average display: the mean of each block of `points` consecutive speeds,
// shown once the block is full; below 2 points it follows every speed text.
class BlockAverage
{
public:
    // Drops the block in progress and averages over blocks of points from now.
    void restart(unsigned int points);

    // One valid speed in. Returns true and sets *shown when the display changes.
    bool add(double speed, const QString &speed_text, QString *shown);

    unsigned int points() const { return block; }
    unsigned int count() const { return taken; }
    // Kept wider than a double, so the mean of finite speeds stays finite.
    double sum() const { return double(total); }

private:
    unsigned int block = 5;
    unsigned int taken = 0;
    long double total = 0;
};

#endif
