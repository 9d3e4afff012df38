#include "outputhub.h"

#include <QDateTime>

OutputHub::OutputHub(QObject *parent) : QObject(parent)
{
    timer.setInterval(tick_ms);
    connect(&timer, &QTimer::timeout, this, [this] { tick(QDateTime::currentMSecsSinceEpoch()); });
}

int OutputHub::add(const OutputConfig &config)
{
    if (channels.size() >= max_outputs)
        return -1;
    auto *channel = new OutputChannel(config, this);
    channel->set_stale_after(stale_ms);
    connect(channel, &OutputChannel::message, this, [this, channel](const QString &line) {
        emit message(QStringLiteral("输出 %1：%2").arg(channels.indexOf(channel) + 1).arg(line));
    });
    channels.append(channel);
    // Ticks only while there is something to hold or retry: at rest with no
    // output the program wakes no more often than without outputs.
    if (ticking)
        timer.start();
    return channels.size() - 1;
}

bool OutputHub::set_config(int index, const OutputConfig &config)
{
    if (!valid(index))
        return false;
    channels.at(index)->configure(config);
    return true;
}

bool OutputHub::set_enabled(int index, bool on)
{
    if (!valid(index))
        return false;
    OutputConfig config = channels.at(index)->config();
    config.enabled = on;
    channels.at(index)->configure(config);
    return true;
}

bool OutputHub::remove(int index)
{
    if (!valid(index))
        return false;
    delete channels.takeAt(index);
    if (channels.isEmpty())
        timer.stop();
    return true;
}

void OutputHub::clear()
{
    qDeleteAll(channels);
    channels.clear();
    timer.stop();
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

void OutputHub::set_stale_after(qint64 ms)
{
    stale_ms = ms;
    for (OutputChannel *channel : qAsConst(channels))
        channel->set_stale_after(ms);
}

void OutputHub::tick(qint64 now_ms)
{
    for (OutputChannel *channel : qAsConst(channels))
        channel->tick(now_ms);
}

int OutputHub::take(const Measurement &measurement)
{
    int sent = 0;
    for (OutputChannel *channel : qAsConst(channels))
        sent += int(channel->take(measurement));
    return sent;
}

void OutputHub::reject(const Reading &line, qint64 utc_ms)
{
    Q_UNUSED(line);
    Q_UNUSED(utc_ms);
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
