#include "outputhub.h"

OutputHub::OutputHub(QObject *parent) : QObject(parent) { }

int OutputHub::add(const OutputConfig &config)
{
    if (channels.size() >= max_outputs)
        return -1;
    auto *channel = new OutputChannel(config, this);
    connect(channel, &OutputChannel::sent_late, this, &OutputHub::sent_late);
    connect(channel, &OutputChannel::message, this, [this, channel](const QString &line) {
        emit message(tr("输出 %1：%2").arg(channels.indexOf(channel) + 1).arg(line));
    });
    if (!waiting_for.isEmpty())
        channel->wait_for_source(waiting_for);
    channels.append(channel);
    emit configured();
    return channels.size() - 1;
}

bool OutputHub::set_config(int index, const OutputConfig &config)
{
    if (!valid(index))
        return false;
    channels.at(index)->configure(config);
    emit configured();
    return true;
}

bool OutputHub::set_enabled(int index, bool on)
{
    if (!valid(index))
        return false;
    OutputConfig config = channels.at(index)->config();
    config.enabled = on;
    channels.at(index)->configure(config);
    emit configured();
    return true;
}

bool OutputHub::remove(int index)
{
    if (!valid(index))
        return false;
    delete channels.takeAt(index);
    emit configured();
    return true;
}

void OutputHub::clear()
{
    qDeleteAll(channels);
    channels.clear();
    emit configured();
}

OutputConfig OutputHub::config(int index) const
{
    return valid(index) ? channels.at(index)->config() : OutputConfig();
}

QVector<OutputConfig> OutputHub::configs() const
{
    QVector<OutputConfig> all;
    for (const OutputChannel *channel : channels)
        all.append(channel->config());
    return all;
}

OutputStatus OutputHub::status(int index) const
{
    return valid(index) ? channels.at(index)->status() : OutputStatus();
}

QVector<OutputStatus> OutputHub::statuses() const
{
    QVector<OutputStatus> all;
    for (const OutputChannel *channel : channels)
        all.append(channel->status());
    return all;
}

void OutputHub::tick(qint64 now_ms)
{
    for (OutputChannel *channel : qAsConst(channels))
        channel->tick(now_ms);
}

int OutputHub::take(const Measurement &measurement)
{
    waiting_for.clear();
    int sent = 0;
    for (OutputChannel *channel : qAsConst(channels))
        sent += int(channel->take(measurement));
    return sent;
}

int OutputHub::waiting(qint64 sequence) const
{
    int count = 0;
    for (const OutputChannel *channel : channels)
        count += int(channel->waits_for(sequence));
    return count;
}

void OutputHub::reject(const Reading &line, qint64 utc_ms)
{
    Q_UNUSED(line);
    Q_UNUSED(utc_ms);
    waiting_for.clear();
    for (OutputChannel *channel : qAsConst(channels))
        channel->reject();
}

void OutputHub::stale(bool stale, qint64 utc_ms)
{
    Q_UNUSED(utc_ms);
    if (!stale)
        return;
    for (OutputChannel *channel : qAsConst(channels))
        channel->expire();
}

QString OutputHub::waiting_reason(const QString &event)
{
    if (event == QLatin1String("port_closed"))
        return tr("串口已关闭");
    if (event == QLatin1String("port_lost"))
        return tr("串口已断开");
    if (event == QLatin1String("port_back"))
        return tr("尚无读数");
    return QString();
}

void OutputHub::event(const QString &name, qint64 utc_ms)
{
    Q_UNUSED(utc_ms);
    const QString reason = waiting_reason(name);
    if (reason.isEmpty())
        return;
    waiting_for = reason;
    for (OutputChannel *channel : qAsConst(channels))
        channel->wait_for_source(reason);
}
