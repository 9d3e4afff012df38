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
    // What the readings are doing, as the trend tab says: coming, late past
    // the stale deadline, or not coming since the port was closed on purpose
    // or the device went. Closed and lost last until readings come again.
    enum class Stream : quint8 { flowing, stale, closed, lost };

    explicit TrendModel(QObject *parent = nullptr);

    // A reading as the pipeline judged it; times come in order.
    void add(const TrendSample &sample);
    // Forgets every reading.
    void clear();

    int take(const Measurement &measurement) override;
    void reject(const Reading &line, qint64 utc_ms) override;
    void stale(bool stale, qint64 utc_ms) override;
    void event(const QString &name, qint64 utc_ms) override;

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
    Stream stream() const;
    qint64 checksum_count() const { return checksums; }
    qint64 unrecognised_count() const { return unrecognised; }
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
    Stream port = Stream::flowing; // closed or lost by the port's events
    qint64 last_valid = -1;
};

#endif
