#include "navdecoder.h"

NmeaCounts NavDecoder::counts() const
{
    NmeaCounts counts = parser.counts();
    counts.overlong = framer.overlong();
    return counts;
}

NavDecoder::Batch NavDecoder::feed(const QByteArray &bytes, qint64 arrival_ms)
{
    Batch batch;
    const qint64 overlong = framer.overlong();
    for (const QByteArray &line : framer.feed(bytes))
        take(line, arrival_ms, batch);
    batch.counts_changed = batch.counts_changed || framer.overlong() != overlong;
    return batch;
}

NavDecoder::Batch NavDecoder::feed_datagram(const QByteArray &datagram, qint64 arrival_ms)
{
    Batch batch = feed(datagram, arrival_ms);
    const QByteArray last = framer.finish();
    if (!last.isEmpty())
        take(last, arrival_ms, batch);
    return batch;
}

void NavDecoder::cut()
{
    if (framer.drop_partial())
        ++parser.counts().fragments;
}

void NavDecoder::take(const QByteArray &line, qint64 arrival_ms, Batch &batch)
{
    const NmeaResult result = parser.parse(line);
    batch.counts_changed = true;
    if (result.fix_lost) {
        nav.note_fix_lost();
        batch.fix_lost = true;
    }
    if (result.fix) {
        nav.note_fix(*result.fix, arrival_ms);
        batch.fixes.append(*result.fix);
    }
    if (result.course) {
        nav.note_course(*result.course, arrival_ms);
        batch.course_changed = true;
    }
    if (result.utc_ms) {
        offset.measure(arrival_ms, *result.utc_ms);
        batch.offsets_ms.append(arrival_ms - *result.utc_ms);
    }
}
