#include "acquisition.h"

#include <cmath>

Acquisition::Acquisition(QObject *parent) : QObject(parent)
{
    connect(&files, &SessionFiles::failed, this, &Acquisition::recording_failed);
}

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
    files.take(chunk, at);
}

static QString format_event(FormatId format)
{
    return QStringLiteral("format:") + QLatin1String(format_name(format));
}

void Acquisition::set_input(InputFormat format, bool ignore_checksums)
{
    if (format != lines.input_format())
        lines.set_input_format(format);
    lines.set_ignore_checksums(ignore_checksums);
}

// Before the first line read in a format: format:NAME, when it was decided
// (again, after a reconnection) or chosen, except for the default instrument
// in a session that has read no other.
void Acquisition::tell_format(const Reading &reading, qint64 now_ms)
{
    if (!reading.format_decided && reading.format == told_format)
        return;
    if (reading.format != FormatId::dollar || told_format != FormatId::dollar) {
        told_format = reading.format;
        note(format_event(reading.format), now_ms);
    }
    if (reading.format_decided)
        emit format_found(reading.format);
}

void Acquisition::take_reading(const Reading &reading, qint64 now_ms)
{
    if (reading.recognised)
        tell_format(reading, now_ms);
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
    Measurement measurement{
        reading, quality, average_text, now_ms, watch.deadline() - now_ms, ++readings_taken};
    if (positions) {
        measurement.position = positions->position_at(now_ms);
        measurement.clock_offset_ms = positions->clock_offset_at(now_ms);
    }
    int forwarded = 0, later = 0;
    for (ReadingSink *sink : qAsConst(sinks)) {
        forwarded += sink->take(measurement);
        later += sink->waiting(measurement.sequence);
    }
    CsvRow row(reading.speed_text.trimmed(),
               reading.has_temperature ? reading.temperature_text.trimmed() : QString(),
               average_text.trimmed(), QString::fromLatin1(quality_name(quality)), QString(),
               QString());
    // Depth to a tenth of a millimetre: one given in feet keeps no float noise.
    row.pressure = csv_number(reading.pressure_dbar);
    row.depth = csv_number(std::round(reading.depth_m * 1e4) / 1e4);
    add_position(measurement, &row);
    files.add_row(now_ms, row, measurement.sequence, forwarded, later);
    hand_out_waiting();
}

void Acquisition::resolve_sent(qint64 sequence, bool sent)
{
    files.resolve(sequence, sent);
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
    files.add_row(at, CsvRow(QString(), QString(), QString(), QString(), event, QString()));
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

bool Acquisition::start_recording(const QString &path, qint64 now_ms, QString *log_error)
{
    // A log started after another format was found says which one it reads.
    return files.start(path, clamp(now_ms), log_error,
                       told_format == FormatId::dollar ? QString() : format_event(told_format));
}

void Acquisition::stop_recording(bool end_line, qint64 now_ms)
{
    files.stop(end_line, clamp(now_ms));
}
