#include "trendbuffer.h"

TrendBuffer::TrendBuffer(int capacity) : limit(capacity > 0 ? capacity : 1)
{
    // Reserved at once but touched only as readings arrive, so an empty
    // buffer costs no resident memory and a full one never reallocates.
    items.reserve(size_t(limit));
}

void TrendBuffer::append(const TrendSample &sample)
{
    if (size() < limit) {
        items.push_back(sample);
    } else {
        items[size_t(oldest)] = sample;
        oldest = (oldest + 1) % limit;
    }
}

void TrendBuffer::clear()
{
    items.clear();
    oldest = 0;
}

const TrendSample &TrendBuffer::at(int index) const
{
    Q_ASSERT(index >= 0 && index < size());
    int position = oldest + index;
    if (position >= limit)
        position -= limit;
    return items[size_t(position)];
}

int TrendBuffer::first_at_or_after(qint64 msecs) const
{
    int low = 0;
    int high = size();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (at(middle).msecs < msecs)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
