#ifndef TRENDMODEL_H
#define TRENDMODEL_H

#include "qualitycheck.h"
#include "trendbuffer.h"

#include <QObject>

// The readings of the last two hours with their quality, and the state the
// trend views show beside them. Views poll it on their own frame ticks: the
// sequence tells them how many readings are new since they last looked, the
// revision whether anything at all changed.
class TrendModel : public QObject
{
    Q_OBJECT

public:
    explicit TrendModel(QObject *parent = nullptr);

    // Judges a valid reading, keeps it and returns its quality.
    Quality add(qint64 msecs, double speed, double average, double temperature);
    // Forgets every reading and the quality check's history.
    void clear();

    const TrendBuffer &buffer() const { return samples; }
    QualityCheck &quality_check() { return checker; }

    // Readings added since construction; the buffer holds the newest of them.
    qint64 sequence() const { return added; }
    // Bumped by clear(), so a view knows to start again.
    int clear_count() const { return clears; }
    // Bumped by every change a view may show.
    qint64 revision() const { return changes; }

    void set_malformed_count(qint64 count);
    qint64 malformed_count() const { return malformed; }
    void set_stale(bool stale);
    bool stale() const { return is_stale; }
    // When the newest valid reading was read; -1 before the first.
    qint64 last_valid_msecs() const { return last_valid; }

    // Water the cross-check assumes: salinity in PSU, depth in metres.
    void set_salinity(double salinity);
    double salinity() const { return water_salinity; }
    void set_depth(double depth);
    double depth() const { return water_depth; }

signals:
    // Salinity or depth changed, so every view's entries can follow.
    void settings_changed();

private:
    TrendBuffer samples;
    QualityCheck checker;
    qint64 added = 0;
    int clears = 0;
    qint64 changes = 0;
    qint64 malformed = 0;
    bool is_stale = false;
    qint64 last_valid = -1;
    double water_salinity = 35.0;
    double water_depth = 0.0;
};

#endif
