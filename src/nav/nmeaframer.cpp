#include "nmeaframer.h"

QVector<QByteArray> NmeaFramer::feed(const QByteArray &bytes)
{
    QVector<QByteArray> lines;
    for (char c : bytes) {
        if (c == '\r' || c == '\n') {
            // An empty line is the LF of a CR LF, or blank: nothing to give.
            if (!partial.isEmpty())
                lines.append(partial);
            partial.clear();
            skipping = false;
            continue;
        }
        if (skipping)
            continue;
        if (partial.size() == max_line) {
            ++dropped_overlong;
            partial.clear();
            skipping = true;
            continue;
        }
        partial.append(c);
    }
    return lines;
}

QByteArray NmeaFramer::finish()
{
    skipping = false;
    QByteArray line;
    line.swap(partial);
    return line;
}

bool NmeaFramer::drop_partial()
{
    skipping = false;
    const bool had = !partial.isEmpty();
    partial.clear();
    return had;
}
