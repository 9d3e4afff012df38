#include "acquisition.h"

#include <QDateTime>
#include <QFileInfo>

#include <cmath>

// A file dialog left open for hours must not eat the memory: past this the
// oldest held bytes go (the measurement log, once started, is unaffected).
static const int held_limit = 16 * 1024 * 1024;
// A row waiting for a sentence on a slow line goes when the sentence goes or
// the next reading comes; past this (the line's device gone quiet) without it.
static const qint64 deferred_limit_ms = 1000;

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
    record_raw(chunk, at);
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
    const Measurement measurement{
        reading, quality, average_text, now_ms, watch.deadline() - now_ms, ++readings_taken};
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
    // The row before is complete now: what waited went or was replaced. This
    // one waits likewise while a line still holds its sentence.
    write_deferred();
    deferred = {now_ms, row, measurement.sequence, forwarded, later};
    if (later == 0)
        write_deferred();
    hand_out_waiting();
}

void Acquisition::forwarded_late(qint64 sequence)
{
    if (deferred.waiting == 0 || deferred.sequence != sequence)
        return;
    ++deferred.forwarded;
    if (--deferred.waiting == 0)
        write_deferred();
}

void Acquisition::write_deferred()
{
    if (deferred.sequence == 0)
        return;
    deferred.row.forwarded = QString::number(deferred.forwarded);
    deferred.sequence = 0;
    deferred.waiting = 0;
    if (csv.active() && !csv.add(deferred.at, deferred.row))
        fail_recording();
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

// A reading's row may still wait for its count: it goes first, in order.
void Acquisition::log_row(qint64 utc_ms, const CsvRow &row)
{
    write_deferred();
    if (csv.active() && !csv.add(utc_ms, row))
        fail_recording();
}

void Acquisition::record_raw(const QByteArray &chunk, qint64 at)
{
    if (holding) {
        held.append({at, chunk});
        held_bytes += chunk.size();
        while (held_bytes > held_limit) {
            held_bytes -= held.first().bytes.size();
            held.removeFirst();
        }
    } else {
        write_raw(chunk, at);
    }
}

void Acquisition::write_raw(const QByteArray &chunk, qint64 at)
{
    if ((raw.recording() && !raw.append(chunk))
        || (lines_log.active() && !lines_log.feed(chunk, at)))
        fail_recording();
}

void Acquisition::hold_raw(bool hold)
{
    holding = hold;
    if (!hold)
        forget_held();
}

void Acquisition::forget_held()
{
    held.clear();
    held_bytes = 0;
}

bool Acquisition::start_recording(const QString &path, qint64 now_ms, QString *log_error)
{
    const qint64 at = clamp(now_ms);
    // A file there means the operator chose to replace it: its log goes too.
    const bool replacing = QFileInfo::exists(path);
    if (!raw.start(path, QDateTime::fromMSecsSinceEpoch(at))) {
        forget_held();
        return false;
    }
    const QString log_path = MeasurementLog::path_for(path, replacing);
    if (!csv.start(log_path, at, replacing) && log_error)
        *log_error = csv.error_string();
    // A log started after another format was found says which one it reads.
    if (told_format != FormatId::dollar)
        log_row(at,
                {QString(), QString(), QString(), QString(), format_event(told_format), QString()});
    if (line_log_wanted && !lines_log.start(LineLog::path_for(path, replacing), replacing)
        && log_error)
        *log_error = lines_log.error_string();
    // What came while the file was chosen, with the times it came.
    const QVector<HeldChunk> waiting = held;
    forget_held();
    for (const HeldChunk &chunk : waiting) {
        write_raw(chunk.bytes, chunk.at);
        if (!raw.recording())
            break;
    }
    return true;
}

void Acquisition::stop_recording(bool end_line, qint64 now_ms)
{
    write_deferred();
    if (end_line && raw.recording())
        raw.stop(QDateTime::fromMSecsSinceEpoch(clamp(now_ms)));
    else
        raw.close();
    csv.stop();
    lines_log.stop(clamp(now_ms));
}

void Acquisition::flush_log(qint64 now_ms)
{
    if (now_ms - deferred.at >= deferred_limit_ms)
        write_deferred();
    if ((csv.active() && !csv.flush_if_due(now_ms))
        || (lines_log.active() && !lines_log.flush_if_due(now_ms)))
        fail_recording();
}

qint64 Acquisition::flush_due_ms() const
{
    const qint64 log = csv.flush_due_ms(), lines = lines_log.flush_due_ms();
    return log == 0 || lines == 0 ? qMax(log, lines) : qMin(log, lines);
}

void Acquisition::fail_recording()
{
    raw.close();
    csv.stop();
    lines_log.stop(last_ms);
    emit recording_failed();
}
