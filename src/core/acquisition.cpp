#include "acquisition.h"

#include <QDateTime>
#include <QFileInfo>

// A file dialog left open for hours must not eat the memory: past this the
// oldest held bytes go (the measurement log, once started, is unaffected).
static const int held_limit = 16 * 1024 * 1024;

Acquisition::Acquisition(QObject *parent) : QObject(parent) { }

qint64 Acquisition::clamp(qint64 now_ms)
{
    last_ms = qMax(last_ms, now_ms);
    return last_ms;
}

void Acquisition::take(const QByteArray &chunk, qint64 now_ms)
{
    const qint64 at = clamp(now_ms);
    QString text;
    for (const Reading &reading : lines.feed(chunk, configuring_now ? &text : nullptr))
        take_reading(reading, at);
    if (configuring_now)
        emit replies(text);
    record_raw(chunk);
}

void Acquisition::take_reading(const Reading &reading, qint64 now_ms)
{
    // What a consumer raises now (an alarm) follows this line's row.
    handing_out = true;
    if (!reading.valid) {
        for (ReadingSink *sink : qAsConst(sinks))
            sink->reject(reading, now_ms);
        hand_out_waiting();
        return;
    }
    const Quality quality = judge.judge(reading.speed);
    QString shown;
    if ((!good_only || quality == Quality::ok)
        && block.add(reading.speed, reading.speed_text, &shown))
        average_text = shown;
    watch.seen(now_ms);
    if (is_stale) {
        is_stale = false;
        for (ReadingSink *sink : qAsConst(sinks))
            sink->stale(false, now_ms);
    }
    Measurement measurement{reading, quality, average_text, now_ms, watch.deadline() - now_ms};
    if (positions) {
        measurement.position = positions->position_at(now_ms);
        measurement.clock_offset_ms = positions->clock_offset_at(now_ms);
    }
    int forwarded = 0;
    for (ReadingSink *sink : qAsConst(sinks))
        forwarded += sink->take(measurement);
    CsvRow row{reading.speed_text.trimmed(),
               reading.has_temperature ? reading.temperature_text.trimmed() : QString(),
               average_text.trimmed(),
               QString::fromLatin1(quality_name(quality)),
               QString(),
               QString::number(forwarded)};
    add_position(measurement, &row);
    log_row(now_ms, row);
    hand_out_waiting();
}

void Acquisition::add_position(const Measurement &measurement, CsvRow *row)
{
    if (const auto &p = measurement.position) {
        row->latitude = p->latitude_text;
        row->longitude = p->longitude_text;
        row->fix_quality = QString::number(p->fix_quality);
        row->fix_age = p->fix_age_text();
    }
    if (measurement.clock_offset_ms)
        row->clock_offset = QString::number(*measurement.clock_offset_ms);
}

void Acquisition::lost(const QByteArray &remaining, qint64 now_ms)
{
    take(remaining, now_ms);
    // A block never mixes readings from both sides of a gap.
    block.restart(block.points());
    note(QStringLiteral("port_lost"), now_ms);
}

void Acquisition::note(const QString &event, qint64 now_ms)
{
    const qint64 at = clamp(now_ms);
    if (handing_out) {
        waiting.append({event, at});
        return;
    }
    handing_out = true;
    write_event(event, at);
    hand_out_waiting();
}

void Acquisition::write_event(const QString &event, qint64 at)
{
    log_row(at, {QString(), QString(), QString(), QString(), event, QString()});
    for (ReadingSink *sink : qAsConst(sinks))
        sink->event(event, at);
    emit noted(event, at);
}

// Called with handing_out set; what was raised meanwhile goes out in the
// order it came, and may raise more.
void Acquisition::hand_out_waiting()
{
    for (int i = 0; i < waiting.size(); ++i) {
        const Event event = waiting.at(i);
        write_event(event.name, event.at);
    }
    waiting.clear();
    handing_out = false;
}

void Acquisition::set_average_good_only(bool on)
{
    good_only = on;
    block.restart(block.points());
}

void Acquisition::closed(qint64 now_ms)
{
    watch.reset();
    is_stale = false;
    note(QStringLiteral("port_closed"), now_ms);
}

void Acquisition::check_stale(qint64 now_ms)
{
    if (is_stale || !watch.stale(now_ms))
        return;
    // Stamped when the values went stale, not when this was looked at.
    const qint64 at = clamp(watch.deadline());
    is_stale = true;
    handing_out = true;
    for (ReadingSink *sink : qAsConst(sinks))
        sink->stale(true, at);
    hand_out_waiting();
}

qint64 Acquisition::stale_due_ms() const
{
    return is_stale ? 0 : watch.deadline();
}

void Acquisition::log_row(qint64 utc_ms, const CsvRow &row)
{
    if (csv.active() && !csv.add(utc_ms, row))
        fail_recording();
}

void Acquisition::record_raw(const QByteArray &chunk)
{
    if (holding) {
        held += chunk;
        if (held.size() > held_limit)
            held.remove(0, held.size() - held_limit);
    } else if (raw.recording() && !raw.append(chunk)) {
        fail_recording();
    }
}

void Acquisition::hold_raw(bool hold)
{
    holding = hold;
    if (!hold)
        held.clear();
}

bool Acquisition::start_recording(const QString &path, qint64 now_ms, QString *log_error)
{
    const qint64 at = clamp(now_ms);
    // A file there means the operator chose to replace it: its log goes too.
    const bool replacing = QFileInfo::exists(path);
    if (!raw.start(path, QDateTime::fromMSecsSinceEpoch(at))) {
        held.clear();
        return false;
    }
    const QByteArray waiting = held;
    held.clear();
    if (!waiting.isEmpty() && !raw.append(waiting)) {
        fail_recording();
        return true;
    }
    const QString log_path = MeasurementLog::path_for(path, replacing);
    if (!csv.start(log_path, at, replacing) && log_error)
        *log_error = csv.error_string();
    return true;
}

void Acquisition::stop_recording(bool end_line, qint64 now_ms)
{
    if (end_line && raw.recording())
        raw.stop(QDateTime::fromMSecsSinceEpoch(clamp(now_ms)));
    else
        raw.close();
    csv.stop();
}

void Acquisition::flush_log(qint64 now_ms)
{
    if (csv.active() && !csv.flush_if_due(now_ms))
        fail_recording();
}

void Acquisition::fail_recording()
{
    raw.close();
    csv.stop();
    emit recording_failed();
}
