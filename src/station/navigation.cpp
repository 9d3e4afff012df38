#include "navigation.h"

#include "alarmmonitor.h"
#include "trackexport.h"

Navigation::Navigation(AlarmMonitor *alarms, Now now, QObject *parent)
    : QObject(parent), alarms(alarms), now(std::move(now))
{
}

void Navigation::start(const NavSource &source)
{
    if (!input_) {
        input_ = new NavInput(this);
        input_->set_clock(now);
        input_->nav_state().set_fresh_ms(fresh);
        connect(input_, &NavInput::fix_received, this, &Navigation::fix_arrived);
        connect(input_, &NavInput::course_received, this, &Navigation::course_arrived);
        connect(input_, &NavInput::offset_measured, this,
                [this](qint64, qint64 arrival_ms) { check_offset(arrival_ms); });
    }
    chosen = source;
    input_->start(source);
}

void Navigation::stop()
{
    if (!input_)
        return;
    input_->stop();
    input_->clock_offset().clear();
    model.clear_vessel();
    check_offset(now());
}

void Navigation::set_fresh_ms(qint64 ms)
{
    fresh = ms;
    if (input_)
        input_->nav_state().set_fresh_ms(ms);
}

std::optional<ReadingPosition> Navigation::position_at(qint64 utc_ms) const
{
    if (!input_)
        return std::nullopt;
    const std::optional<PositionTag> tag = input_->tag(utc_ms);
    if (!tag)
        return std::nullopt;
    return ReadingPosition{tag->latitude.text,     tag->longitude.text, tag->latitude.degrees,
                           tag->longitude.degrees, tag->quality,        tag->age_ms};
}

std::optional<qint64> Navigation::clock_offset_at(qint64 utc_ms) const
{
    return input_ ? input_->clock_offset().in_force_ms(utc_ms) : std::nullopt;
}

int Navigation::take(const Measurement &measurement)
{
    if (const auto &p = measurement.position) {
        const Reading &reading = measurement.reading;
        model.add({measurement.utc_ms, p->latitude, p->longitude, reading.speed,
                   reading.has_temperature ? reading.temperature : NAN, measurement.quality});
    }
    return 0;
}

void Navigation::check_offset(qint64 now_ms)
{
    const bool beyond
        = input_ && input_->clock_offset().exceeds(alarms->settings().clock_offset_limit_s, now_ms);
    // A change of the alarm reaches the station as an event, which has it
    // look at what is due; nothing else here changes that.
    alarms->set_state(Alarm::clock_offset, beyond, now_ms);
}

qint64 Navigation::due_ms(bool publishing) const
{
    qint64 due = 0;
    if (input_ && alarms->is_active(Alarm::clock_offset))
        due = input_->clock_offset().lapses_at_ms();
    if (publishing && status_waiting) {
        const qint64 status_at = status_sent_ms + status_interval_ms;
        due = due == 0 ? status_at : qMin(due, status_at);
    }
    return due;
}

QVariantMap Navigation::status() const
{
    if (!input_ || !input_->nav_state().newest_fix())
        return {};
    const NavFix &fix = *input_->nav_state().newest_fix();
    const QVariantMap position{{QStringLiteral("latitude"), fix.latitude.degrees},
                               {QStringLiteral("longitude"), fix.longitude.degrees},
                               {QStringLiteral("fix_quality"), fix.quality},
                               {QStringLiteral("time_utc"),
                                track_export::time_text(input_->nav_state().fix_arrival_ms())}};
    return {{QStringLiteral("position"), position}};
}

bool Navigation::status_due(qint64 now_ms) const
{
    return status_waiting && now_ms - status_sent_ms >= status_interval_ms;
}

void Navigation::status_published(qint64 now_ms)
{
    status_sent_ms = now_ms;
    status_waiting = false;
}

void Navigation::fix_arrived(const NavFix &fix)
{
    const NavState &state = input_->nav_state();
    const double course
        = state.course_fresh(state.fix_arrival_ms()) ? state.course_speed()->course_deg : NAN;
    model.set_vessel({fix.latitude.degrees, fix.longitude.degrees, course});
    if (!status_waiting) {
        status_waiting = true;
        emit due_changed();
    }
}

void Navigation::course_arrived(const CourseSpeed &course)
{
    if (auto mark = model.vessel()) {
        mark->course_deg = course.course_deg;
        model.set_vessel(*mark);
    }
}
