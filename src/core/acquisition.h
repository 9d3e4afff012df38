#ifndef ACQUISITION_H
#define ACQUISITION_H

#include "blockaverage.h"
#include "measurementstream.h"
#include "qualitycheck.h"
#include "readingsink.h"
#include "sessionfiles.h"
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
    void hold_raw(bool hold) { files.hold(hold); }
    // Starts the raw recording and, beside it, the measurement log (see
    // SessionFiles::start()).
    bool start_recording(const QString &path, qint64 now_ms, QString *log_error);
    // With the end line, or without it as closing the window does.
    void stop_recording(bool end_line, qint64 now_ms);
    bool recording() const { return files.recording(); }
    // The log reaches the disk at least once a second.
    void flush_log(qint64 now_ms) { files.flush(now_ms); }
    qint64 flush_due_ms() const { return files.flush_due_ms(); }
    // Beside each recording started from now on, every line with its UTC
    // arrival time (see LineLog).
    void set_line_log(bool on) { files.set_line_log(on); }
    bool line_log() const { return files.line_log(); }
    const LineLog &line_log_file() const { return files.lines(); }

    // A consumer's sentence of reading sequence, waiting for its line, went
    // out (sent) or was replaced by a newer one: the reading's row counts it
    // (see ReadingSink::waiting()).
    void resolve_sent(qint64 sequence, bool sent);

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

    // The input format (automatic or one by name) and whether sentences are
    // read whatever their checksum. Another format starts recognition
    // afresh, as restart_stream() does after opening and each reconnection.
    void set_input(InputFormat format, bool ignore_checksums);
    void restart_stream() { lines.reset(); }

    const MeasurementStream &stream() const { return lines; }
    const BlockAverage &average() const { return block; }
    QualityCheck &quality() { return judge; }
    Recorder &recorder() { return files.recorder(); }
    const MeasurementLog &log() const { return files.log(); }
    // The average display's text; empty before the first block.
    const QString &shown_average() const { return average_text; }

signals:
    // An event has been logged and handed to every consumer.
    void noted(const QString &event, qint64 utc_ms);
    // The instrument's replies during a configuration exchange.
    void replies(const QString &text);
    // A file could not be written: both files are closed.
    void recording_failed();
    // Automatic recognition decided the format lines are read in (after the
    // format:NAME event, if one was logged).
    void format_found(FormatId format);

private:
    qint64 clamp(qint64 now_ms);
    void take_reading(const Reading &reading, qint64 now_ms);
    void tell_format(const Reading &reading, qint64 now_ms);
    static void add_position(const Measurement &measurement, CsvRow *row);
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
    SessionFiles files;
    QVector<ReadingSink *> sinks;
    const PositionSource *positions = nullptr;
    QString average_text;
    QVector<Event> waiting; // raised while something was being handed out
    qint64 last_ms = 0;
    // The format the log and the consumers were last told of; the default
    // instrument's needs no word until another has been read.
    FormatId told_format = FormatId::dollar;
    bool configuring_now = false;
    bool is_stale = false;
    bool handing_out = false;
    qint64 readings_taken = 0;
    bool good_only = false;
};

#endif
