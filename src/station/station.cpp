#include "station.h"

#include "alarmkind.h"
#include "alarmmonitor.h"
#include "folderaccess.h"
#include "mqttconfig.h"
#include "mqttpublisher.h"
#include "navigation.h"
#include "outputhub.h"
#include "trendmodel.h"
#include "watersettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

Station::Station(QSerialPort *port, ReadingSink *screen, QObject *parent)
    : QObject(parent), port(port),
      player([this](const QByteArray &bytes) { return write(bytes); },
             [this](int ms) { return pause_for ? pause_for(ms) : true; })
{
    trend_model = new TrendModel(this);
    water_settings = new WaterSettings(this);
    hub = new OutputHub(this);
    monitor = new AlarmMonitor(this);
    // The screen first: what it shows does not wait for the others.
    if (screen)
        pipeline.add_sink(screen);
    pipeline.add_sink(trend_model);
    pipeline.add_sink(hub);
    pipeline.add_sink(monitor);
    pipeline.add_sink(water_settings);
    nav = new Navigation(
        monitor, [this] { return now_ms(); }, this);
    pipeline.add_sink(nav);
    pipeline.set_position_source(nav);
    connect(nav, &Navigation::due_changed, this, &Station::schedule);
    port_session = new PortSession(port, this);

    connect(monitor, &AlarmMonitor::changed, this, [this](const QString &name, bool on, qint64 at) {
        pipeline.note(alarm_event_text(name, on), at);
    });
    connect(&pipeline, &Acquisition::noted, this, &Station::noted);
    connect(&pipeline, &Acquisition::replies, this, [this](const QString &text) {
        exchange_replies += text;
        emit replies(text);
    });
    connect(&pipeline, &Acquisition::recording_failed, this, [this] {
        monitor->set_state(Alarm::recording_failed, true, now_ms());
        emit recording_failed();
    });
    connect(hub, &OutputHub::message, this, &Station::message);
    connect(hub, &OutputHub::configured, this, &Station::schedule);
    connect(hub, &OutputHub::sent_late, &pipeline, &Acquisition::resolve_sent);
    connect(&pipeline, &Acquisition::format_found, this, [this] {
        publish_status();
        emit input_changed();
    });
    pipeline.set_input(input_choice.format, input_choice.ignore_checksums);
    connect(port_session, &PortSession::lost, this, &Station::lost);
    connect(port_session, &PortSession::back, this, &Station::back);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &Station::tick);
}

Station::~Station()
{
    // The publisher says goodbye while the pipeline still knows it.
    delete mqtt;
}

void Station::set_clock(const Clock *clock)
{
    time = clock ? clock : &system_clock;
    schedule();
}

void Station::tick()
{
    const qint64 now = now_ms();
    pipeline.check_stale(now);
    monitor->tick(now);
    pipeline.flush_log(now);
    if (hub->count() > 0)
        hub->tick(now);
    watch_broker();
    nav->check_offset(now);
    if (mqtt && nav->status_due(now))
        publish_status();
    schedule();
}

// One timer for everything due: nothing wakes the program at rest.
void Station::schedule()
{
    qint64 due = 0;
    const auto sooner = [&due](qint64 at) {
        if (at > 0 && (due == 0 || at < due))
            due = at;
    };
    const qint64 now = now_ms();
    sooner(pipeline.stale_due_ms());
    sooner(monitor->due_ms());
    sooner(pipeline.flush_due_ms());
    sooner(nav->due_ms(mqtt != nullptr));
    if (broker_away_since > 0)
        sooner(broker_away_since + broker_patience_ms);
    if (hub->count() > 0)
        sooner(now + OutputHub::tick_ms);
    if (due == 0) {
        timer.stop();
        return;
    }
    const int wait = int(qBound<qint64>(0, due - now, 60000));
    // A deadline already armed sooner stays: it ticks and arms again.
    if (!timer.isActive() || timer.remainingTime() > wait)
        timer.start(wait);
}

void Station::take(const QByteArray &chunk)
{
    pipeline.take(chunk, now_ms());
    schedule();
}

void Station::choose_port(const PortSettings &settings)
{
    chosen = settings;
}

bool Station::open(const PortSettings &settings)
{
    chosen = settings;
    restart_input();
    const bool opened = port_session->open(settings);
    if (opened)
        send_start();
    publish_status();
    return opened;
}

bool Station::open_or_wait(const PortSettings &settings)
{
    chosen = settings;
    restart_input();
    const bool opened = port_session->open_or_wait(settings);
    if (opened)
        send_start();
    monitor->set_state(Alarm::port_unavailable, !opened, now_ms());
    publish_status();
    return opened;
}

void Station::close()
{
    port_session->close();
    pipeline.closed(now_ms());
    publish_status();
    schedule();
}

// What the device delivered last comes before the loss; an exchange in
// progress ends here, since the rest would go nowhere.
void Station::lost()
{
    pipeline.lost(port->readAll(), now_ms());
    if (player.playing()) {
        player.abort();
        end_configuration();
        emit message(tr("串口连接已断开，配置未完成"));
    }
    publish_status();
    schedule();
    emit port_lost();
}

void Station::back()
{
    pipeline.note(QStringLiteral("port_back"), now_ms());
    // Perhaps another probe, or one that needs its start again.
    restart_input();
    send_start();
    publish_status();
    emit port_back();
}

void Station::noted(const QString &event)
{
    const int colon = event.indexOf(QLatin1Char(':'));
    if (event.startsWith(QLatin1String("format:")) && input_choice.format.automatic)
        emit format_recognised(event.mid(colon + 1));
    const bool on = event.startsWith(QLatin1String("alarm_on:"));
    if (colon < 0 || !(on || event.startsWith(QLatin1String("alarm_off:"))))
        return;
    if (mqtt)
        mqtt->set_alarms(monitor->active());
    schedule();
    emit alarm_changed(event.mid(colon + 1), on);
}

bool Station::write(const QByteArray &bytes)
{
    return port->isOpen() && !quitting && port->write(bytes) == bytes.size();
}

CommandPlayer::Result Station::configure(const QVector<CommandStep> &steps)
{
    if (player.playing())
        return CommandPlayer::busy;
    pipeline.set_configuring(true);
    pipeline.note(QStringLiteral("config_start"), now_ms());
    QByteArray wire;
    for (const CommandStep &step : steps)
        wire += step.bytes;
    for (const QByteArray &command : wire.split('\r'))
        if (!command.isEmpty())
            sent << QString::fromLatin1(command);
    const CommandPlayer::Result result = player.play(steps);
    // A loss ended it already.
    if (pipeline.configuring())
        end_configuration();
    return result;
}

void Station::end_configuration()
{
    pipeline.note(QStringLiteral("config_end"), now_ms());
    pipeline.set_configuring(false);
    emit exchange_ended(exchange_replies);
    exchange_replies.clear();
}

bool Station::start_recording(const QString &path, QString *log_error)
{
    if (!pipeline.start_recording(path, now_ms(), log_error))
        return false;
    monitor->set_state(Alarm::recording_failed, false, now_ms());
    schedule();
    return true;
}

void Station::stop_recording(bool end_line)
{
    pipeline.stop_recording(end_line, now_ms());
    schedule();
}

QString Station::record_into(const QString &folder, QString *log_error, QString *problem)
{
    const QString stamp
        = QDateTime::fromMSecsSinceEpoch(now_ms()).toString(QStringLiteral("yyyyMMdd_hhmmss"));
    const QDir dir(folder);
    QString path = dir.filePath(QStringLiteral("sv_%1.txt").arg(stamp));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("sv_%1_%2.txt").arg(stamp).arg(n));
    QString why = prepare_folder(folder);
    if (why.isEmpty() && !start_recording(path, log_error))
        why = pipeline.recorder().error_string();
    if (why.isEmpty())
        return path;
    *problem = tr("无法在 %1 中开始保存数据（%2），程序照常运行，不保存")
                   .arg(QDir::toNativeSeparators(folder), why);
    monitor->set_state(Alarm::recording_failed, true, now_ms());
    return QString();
}

void Station::set_average_points(unsigned int points)
{
    pipeline.restart_average(points);
    publish_status();
}
