#ifndef NAVIGATION_H
#define NAVIGATION_H

#include "navinput.h"
#include "positionsource.h"
#include "readingsink.h"
#include "trackmodel.h"

#include <QObject>
#include <QVariantMap>

#include <functional>
#include <optional>

class AlarmMonitor;

// The station's side of the GNSS receiver: the input (created when a source
// is first set), the position and clock offset each reading is stamped
// with, the track of positioned readings for the map, the clock_offset
// alarm and the last position for the published status. Losing the
// receiver disturbs nothing else: readings simply go without a position.
class Navigation : public QObject, public PositionSource, public ReadingSink
{
    Q_OBJECT

public:
    using Now = std::function<qint64()>; // the station's clock
    static constexpr qint64 default_status_interval_ms = 5000;

    Navigation(AlarmMonitor *alarms, Now now, QObject *parent = nullptr);

    // How often at most the published status carries a newer position.
    void set_status_interval_ms(qint64 ms) { status_interval_ms = ms; }

    // Reads the receiver at source, replacing any other; it reconnects by
    // itself while the source is away.
    void start(const NavSource &source);
    // Stopped on purpose: the offset and its alarm end with it.
    void stop();
    // The source last started or chosen, also once stopped, for the
    // operator to see.
    const std::optional<NavSource> &source() const { return chosen; }
    void choose(const NavSource &source) { chosen = source; }
    bool running() const { return input_ && input_->state() != NavInput::stopped; }
    // Null until a source is first set.
    NavInput *input() const { return input_; }

    // How long a fix stamps the readings after it arrived.
    void set_fresh_ms(qint64 ms);
    qint64 fresh_ms() const { return fresh; }

    TrackModel &track() { return model; }
    const TrackModel &track() const { return model; }

    std::optional<ReadingPosition> position_at(qint64 utc_ms) const override;
    std::optional<qint64> clock_offset_at(qint64 utc_ms) const override;
    // A positioned reading joins the track.
    int take(const Measurement &measurement) override;

    // The clock_offset alarm as the offset in force at now_ms says: on
    // beyond the alarm's limit, off within it or once measurements stopped.
    void check_offset(qint64 now_ms);
    // When check_offset() or the status has something to say next (the
    // offset lapsing while the alarm holds; a newer position to publish);
    // 0 when nothing is due.
    qint64 due_ms(bool publishing) const;

    // The newest position for the retained status, as "position"; empty
    // without one.
    QVariantMap status() const;
    // A newer position than the one last published may go out now.
    bool status_due(qint64 now_ms) const;
    void status_published(qint64 now_ms);

signals:
    // Something became due: the station looks at due_ms() again.
    void due_changed();

private:
    void fix_arrived(const NavFix &fix);
    void course_arrived(const CourseSpeed &course);

    AlarmMonitor *alarms;
    Now now;
    NavInput *input_ = nullptr;
    std::optional<NavSource> chosen;
    qint64 fresh = NavState::default_fresh_ms;
    TrackModel model;
    bool status_waiting = false; // a fix came since the last status
    qint64 status_sent_ms = 0;
    qint64 status_interval_ms = default_status_interval_ms;
};

#endif
