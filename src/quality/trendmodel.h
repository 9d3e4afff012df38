#ifndef TRENDMODEL_H
#define TRENDMODEL_H

#include "readingsink.h"
#include "trendbuffer.h"

#include <QObject>

// The readings of the last two hours with their quality, and the state the
// trend views show beside them. Views poll it on their own frame ticks: the
// sequence tells them how many readings are new since they last looked, the
// revision whether anything at all changed.
class TrendModel : public QObject, public ReadingSink
{
    Q_OBJECT

public:
    explicit TrendModel(QObject *parent = nullptr);

    // A reading as the pipeline judged it; times come in order.
    void add(const TrendSample &sample);
    // Forgets every reading.
    void clear();

    int take(const Measurement &measurement) override;
    void reject(const Reading &line, qint64 utc_ms) override;
    void stale(bool stale, qint64 utc_ms) override;

    const TrendBuffer &buffer() const { return samples; }

    // Readings added since construction; the buffer holds the newest of them.
    qint64 sequence() const { return added; }
    // Bumped by clear(), so a view knows to start again.
    int clear_count() const { return clears; }
    // Bumped by every change a view may show.
    qint64 revision() const { return changes; }

    // Lines that were not measurements, of the session: malformed; sentences
    // whose checksum did not match; lines before recognition decided.
    qint64 malformed_count() const { return malformed; }
    qint64 checksum_count() const { return checksums; }
    qint64 unrecognised_count() const { return unrecognised; }
    bool stale() const { return is_stale; }
    // When the newest valid reading was read; -1 before the first.
    qint64 last_valid_msecs() const { return last_valid; }

private:
    TrendBuffer samples;
    qint64 added = 0;
    int clears = 0;
    qint64 changes = 0;
    qint64 malformed = 0;
    qint64 checksums = 0;
    qint64 unrecognised = 0;
    bool is_stale = false;
    qint64 last_valid = -1;
};

#endif
