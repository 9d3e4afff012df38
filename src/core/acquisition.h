#ifndef ACQUISITION_H
#define ACQUISITION_H

#include "blockaverage.h"
#include "measurementlog.h"
#include "measurementstream.h"
#include "qualitycheck.h"
#include "readingsink.h"
#include "recorder.h"
#include "stalewatch.h"

#include <QObject>
#include <QVector>

// Everything that happens to what the instrument sends, in one place: each
// chunk read from the port, with the time it was read, goes through the
// stream, the block average and the quality judgement into the raw
// recording, the measurement log and every consumer, line by line. Events go
// in here too, so their order against the readings is decided here. One
// clock clamp for all: times never go backwards, even if the clock is set
// back.
class Acquisition : public QObject
{
    Q_OBJECT

public:
    explicit Acquisition(QObject *parent = nullptr);

    // One readAll() and when it was read.
    void take(const QByteArray &chunk, qint64 now_ms);
    // The device is gone: what it delivered last comes before the loss.
    void lost(const QByteArray &remaining, qint64 now_ms);
    // port_back, config_start, config_end, alarm_on:NAME...: to the log and
    // every consumer. One raised while a reading or an event is being handed
    // out (an alarm that reading set off) waits until that is done, so it
    // always follows its cause.
    void note(const QString &event, qint64 now_ms);
    // The port closed on purpose: nothing is lost or late any more, and no
    // deadline runs until readings come again.
    void closed(qint64 now_ms);
    // Tells every consumer once when valid readings stopped coming.
    void check_stale(qint64 now_ms);
    // When check_stale() has something to say next; 0 when nothing can go
    // stale (nothing seen since the port opened, or stale already).
    qint64 stale_due_ms() const;

    // While configuring, what arrives is also the instrument's reply: it goes
    // to the pane (replies()) as well as to the raw recording, which keeps
    // every byte.
    void set_configuring(bool on) { configuring_now = on; }
    bool configuring() const { return configuring_now; }

    // While the operator picks a file, the raw bytes wait, so the recording
    // still starts with what arrived meanwhile; readings go on as usual.
    void hold_raw(bool hold);
    // Starts the raw recording and, beside it, the measurement log. False
    // when the recording cannot be created; *log_error is set when only the
    // log could not be. A recording that replaces a file (the operator said
    // so) replaces the log of ours beside it too.
    bool start_recording(const QString &path, qint64 now_ms, QString *log_error);
    // With the end line, or without it as closing the window does.
    void stop_recording(bool end_line, qint64 now_ms);
    bool recording() const { return raw.recording(); }
    // The log reaches the disk at least once a second.
    void flush_log(qint64 now_ms);
    qint64 flush_due_ms() const { return csv.flush_due_ms(); }

    void add_sink(ReadingSink *sink) { sinks.append(sink); }
    // Stamps each reading with a position and the clock offset (not owned;
    // none: readings go without).
    void set_position_source(const PositionSource *source) { positions = source; }
    void remove_sink(ReadingSink *sink) { sinks.removeAll(sink); }

    void restart_average(unsigned int points) { block.restart(points); }
    // Blocks of good readings only (flagged ok), or of every valid one; the
    // block in progress starts again.
    void set_average_good_only(bool on);
    bool average_good_only() const { return good_only; }

    const MeasurementStream &stream() const { return lines; }
    const BlockAverage &average() const { return block; }
    QualityCheck &quality() { return judge; }
    Recorder &recorder() { return raw; }
    const MeasurementLog &log() const { return csv; }
    // The average display's text; empty before the first block.
    const QString &shown_average() const { return average_text; }

signals:
    // An event has been logged and handed to every consumer.
    void noted(const QString &event, qint64 utc_ms);
    // The instrument's replies during a configuration exchange.
    void replies(const QString &text);
    // A file could not be written: both files are closed.
    void recording_failed();

private:
    qint64 clamp(qint64 now_ms);
    void take_reading(const Reading &reading, qint64 now_ms);
    void log_row(qint64 utc_ms, const CsvRow &row);
    static void add_position(const Measurement &measurement, CsvRow *row);
    void record_raw(const QByteArray &chunk);
    void fail_recording();
    void write_event(const QString &event, qint64 at);
    void hand_out_waiting();

    struct Event
    {
        QString name;
        qint64 at;
    };

    MeasurementStream lines;
    BlockAverage block;
    QualityCheck judge;
    StaleWatch watch;
    Recorder raw;
    MeasurementLog csv;
    QVector<ReadingSink *> sinks;
    const PositionSource *positions = nullptr;
    QString average_text;
    QVector<Event> waiting; // raised while something was being handed out
    QByteArray held; // raw bytes that arrived while the file was being chosen
    qint64 last_ms = 0;
    bool configuring_now = false;
    bool holding = false;
    bool is_stale = false;
    bool handing_out = false;
    bool good_only = false;
};

#endif
