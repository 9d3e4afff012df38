#ifndef NAVSTATE_H
#define NAVSTATE_H

#include "navfix.h"

#include <optional>

// The position a reading is stamped with.
struct PositionTag
{
    NmeaCoordinate latitude, longitude;
    int quality = 0; // as NavFix::quality
    qint64 age_ms = 0; // from the fix's arrival to the reading
    double age_s() const { return double(age_ms) / 1000.0; }
};

// The navigation as the terminal knows it: the newest valid fix and the
// newest course and speed over ground, each with the time it arrived (the PC
// clock, milliseconds since the epoch). Times are passed in, so the state has
// no timers and tests need no waiting.
//
// A fix is fresh from its arrival up to and including fresh_ms after it: a
// reading taken at arrival + fresh_ms carries the position, one taken a
// millisecond later does not, nor one stamped before the fix arrived (the
// PC clock was set back). A void fix ends the position at once: the
// receiver has said it no longer knows where it is.
class NavState
{
public:
    static constexpr qint64 default_fresh_ms = 2000;

    void set_fresh_ms(qint64 ms) { fresh_ms = ms; }
    qint64 fresh_limit_ms() const { return fresh_ms; }

    void note_fix(const NavFix &fix, qint64 arrival_ms);
    void note_fix_lost() { fix.reset(); }
    void note_course(const CourseSpeed &course_speed, qint64 arrival_ms);
    // Forgets everything, as when the receiver is changed.
    void clear();

    // The position for a reading taken at reading_ms, if a fix is fresh then.
    std::optional<PositionTag> tag(qint64 reading_ms) const;

    // The newest valid fix, fresh or not, and when it arrived.
    const std::optional<NavFix> &newest_fix() const { return fix; }
    qint64 fix_arrival_ms() const { return fix_arrival; }
    // The newest course and speed over ground, and when they arrived.
    const std::optional<CourseSpeed> &course_speed() const { return course; }
    qint64 course_arrival_ms() const { return course_arrival; }
    bool course_fresh(qint64 now_ms) const;

private:
    bool fresh_at(qint64 arrival_ms, qint64 now_ms) const;

    qint64 fresh_ms = default_fresh_ms;
    std::optional<NavFix> fix;
    qint64 fix_arrival = 0;
    std::optional<CourseSpeed> course;
    qint64 course_arrival = 0;
};

#endif
