#include "blockaverage.h"

void BlockAverage::restart(unsigned int points)
{
    block = points;
    taken = 0;
    total = 0;
}

bool BlockAverage::add(double speed, const QString &speed_text, QString *shown)
{
    if (block < 2) {
        *shown = speed_text;
        return true;
    }
    total += speed;
    if (++taken < block)
        return false;
    *shown = QString::number(double(total / taken), 'g', 7);
    taken = 0;
    total = 0;
    return true;
}
