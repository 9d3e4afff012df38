#ifndef STATION_H
#define STATION_H

#include "acquisition.h"
#include "clock.h"
#include "commandplayer.h"
#include "inputchoice.h"
#include "portsession.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

class AlarmMonitor;
class MqttPublisher;
class Navigation;
class OutputHub;
class TrendModel;
class WaterSettings;
struct MqttConfig;

// What the instrument's port feeds, without a window: the acquisition
// pipeline and its consumers (trend, outputs, alarms, publishing), the port
// session, the configuration exchanges and the recording. It owns the one
// clock they all run on: the stale deadline, the alarm tick, the log's flush
// and the outputs' hold and retries are due on it, and tick() does what is
// due. Events of every kind go through the pipeline, so the log, the
// consumers and the broker see them in one order.
class Station : public QObject
{
    Q_OBJECT

public:
    // screen: the first consumer of every line (the window), or none.
    Station(QSerialPort *port, ReadingSink *screen, QObject *parent = nullptr);
    ~Station() override;

    // Not owned; the system clock by default.
    void set_clock(const Clock *clock);
    qint64 now_ms() const { return time->now_ms(); }
    // Does what is due now and arms the timer for what is due next.
    void tick();

    Acquisition &acquisition() { return pipeline; }
    const Acquisition &acquisition() const { return pipeline; }
    TrendModel *trend() const { return trend_model; }
    // The water the computed speeds are for.
    WaterSettings *water() const { return water_settings; }
    OutputHub *outputs() const { return hub; }
    AlarmMonitor *alarms() const { return monitor; }
    MqttPublisher *publisher() const { return mqtt; }
    PortSession *session() const { return port_session; }
    // The GNSS receiver: stamps the readings with the position and the
    // clock offset, keeps the track, raises clock_offset.
    Navigation *navigation() const { return nav; }

    // What the instrument sent, read from the port now.
    void take(const QByteArray &chunk);

    // The port the operator chose, for the published status until it opens.
    void choose_port(const PortSettings &settings);
    const PortSettings &port_settings() const { return chosen; }
    bool open(const PortSettings &settings);
    // Opens, or tries again every second until it can (an alarm meanwhile).
    bool open_or_wait(const PortSettings &settings);
    // Closed on purpose.
    void close();

    // Plays a configuration exchange on the port; pause serves the events
    // between characters. Ends it (config_end) also when the device goes.
    CommandPlayer::Result configure(const QVector<CommandStep> &steps);
    // Plays steps paced as an exchange, but not as one (no events).
    CommandPlayer::Result play(const QVector<CommandStep> &steps) { return player.play(steps); }
    // True when every byte was taken.
    bool write(const QByteArray &bytes);
    void set_pause(CommandPlayer::Pause pause) { pause_for = std::move(pause); }
    void set_quitting() { quitting = true; }
    bool configuring() const { return pipeline.configuring(); }
    // The commands played this session, for the report.
    const QStringList &sent_configuration() const { return sent; }

    bool start_recording(const QString &path, QString *log_error);
    void stop_recording(bool end_line);
    // A new file named sv_YYYYMMDD_hhmmss.txt (local time) in folder, made
    // first if missing. Empty, with *problem saying why and the
    // recording_failed alarm on, when it cannot be started.
    QString record_into(const QString &folder, QString *log_error, QString *problem);

    // The input format, checksums and start text; recognition starts afresh
    // when the format changes, as it does on opening and each reconnection.
    void set_input(const InputChoice &choice);
    const InputChoice &input() const { return input_choice; }
    // The format lines are read in now: the one chosen, or the one
    // recognised; none while recognition has not decided.
    std::optional<FormatId> format() const { return pipeline.stream().format(); }
    // Another probe than the one the configuration commands were made for.
    bool other_probe() const;

    void set_average_points(unsigned int points);
    // Publishes to the broker given, replacing any publisher; no host stops.
    // A broker not reached for a minute raises an alarm (off by default).
    static const qint64 broker_patience_ms = 60000;
    void publish_to(const MqttConfig &config);
    QVariantMap status_details() const;

signals:
    // An alarm went on or off, after the log and the broker heard of it.
    void alarm_changed(const QString &name, bool on);
    void replies(const QString &text);
    // A configuration exchange ended; what the instrument said during it,
    // together, for the operator to read after it.
    void exchange_ended(const QString &replies);
    // A line for the status pane.
    void message(const QString &text);
    void port_lost();
    void port_back();
    void recording_failed();
    // format() or input() changed: chosen, recognised or starting afresh.
    void input_changed();
    // Automatic recognition found a format the log names (format:NAME).
    void format_recognised(const QString &name);

private:
    void restart_input();
    void send_start();
    void schedule();
    void lost();
    void back();
    void noted(const QString &event);
    void end_configuration();
    void publish_status();
    void watch_broker();

    SystemClock system_clock;
    const Clock *time = &system_clock;
    QSerialPort *port;
    Acquisition pipeline;
    TrendModel *trend_model;
    WaterSettings *water_settings;
    OutputHub *hub;
    AlarmMonitor *monitor;
    MqttPublisher *mqtt = nullptr;
    Navigation *nav;
    PortSession *port_session;
    CommandPlayer player;
    CommandPlayer::Pause pause_for;
    PortSettings chosen;
    InputChoice input_choice;
    QStringList sent;
    QString exchange_replies; // of the exchange in progress
    QTimer timer;
    bool quitting = false;
    qint64 broker_away_since = 0; // not reached since; 0 while connected
};

#endif
