#include "navstate.h"

void NavState::note_fix(const NavFix &newest, qint64 arrival_ms)
{
    fix = newest;
    fix_arrival = arrival_ms;
}

void NavState::note_course(const CourseSpeed &course_speed, qint64 arrival_ms)
{
    course = course_speed;
    course_arrival = arrival_ms;
}

void NavState::clear()
{
    fix.reset();
    course.reset();
}

bool NavState::fresh_at(qint64 arrival_ms, qint64 now_ms) const
{
    const qint64 age = now_ms - arrival_ms;
    return age >= 0 && age <= fresh_ms;
}

std::optional<PositionTag> NavState::tag(qint64 reading_ms) const
{
    if (!fix || !fresh_at(fix_arrival, reading_ms))
        return std::nullopt;
    return PositionTag{fix->latitude, fix->longitude, fix->quality, reading_ms - fix_arrival};
}

bool NavState::course_fresh(qint64 now_ms) const
{
    return course && fresh_at(course_arrival, now_ms);
}
