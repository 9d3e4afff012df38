#include "outputchannel.h"

#include "serialtransport.h"
#include "tcpservertransport.h"
#include "udptransport.h"

static OutputTransport *open_transport(const OutputConfig &config, QObject *parent)
{
    switch (config.kind) {
    case OutputConfig::serial:
        return new SerialTransport(config, parent);
    case OutputConfig::udp:
        return new UdpTransport(config, parent);
    case OutputConfig::tcp:
        break;
    }
    return new TcpServerTransport(config, parent);
}

OutputChannel::OutputChannel(const OutputConfig &config, QObject *parent) : QObject(parent)
{
    settings = config;
    configure(config);
}

void OutputChannel::configure(const OutputConfig &config)
{
    if (!config.enabled || !config.same_destination(settings))
        close_transport();
    // A held sentence in another format, or held under another gate, is
    // not what the output now sends.
    if (config.format != settings.format || config.gate != settings.gate || !config.enabled) {
        gate.reset();
        good_sentence.clear();
    }
    settings = config;
    gate.set_mode(config.gate);
    gate.set_hold(config.hold);
    if (settings.enabled && !transport) {
        transport = open_transport(settings, this);
        connect(transport, &OutputTransport::message, this, &OutputChannel::message);
        connect(transport, &OutputTransport::waiting_sent, this, [this] { settle_late(true); });
        connect(transport, &OutputTransport::waiting_dropped, this, [this] { settle_late(false); });
    }
}

void OutputChannel::close_transport()
{
    if (!transport)
        return;
    settle_late(false);
    dropped_before += transport->dropped();
    errors_before += transport->errors();
    if (!transport->last_error().isEmpty())
        counts.last_error = transport->last_error();
    delete transport;
    transport = nullptr;
}

void OutputChannel::wait_for_source(const QString &reason)
{
    source_reason = reason;
    gate.expire();
}

bool OutputChannel::take(const Measurement &measurement)
{
    source_reason.clear();
    if (!transport)
        return false;
    ++counts.lines;
    gate.set_stale_after(measurement.stale_after_ms);
    if (!gate.decide(measurement.quality, measurement.utc_ms)) {
        ++counts.gated;
        repeat_if_due(measurement.utc_ms);
        return false;
    }
    ++counts.forwarded;
    const QByteArray sentence = build_sentence(settings.format, measurement);
    if (measurement.quality == Quality::ok)
        good_sentence = sentence;
    const bool handed = hand_over(sentence);
    // Counted once it goes; a newer sentence may replace it meanwhile.
    if (handed && transport->holds_waiting()) {
        late_sequence = measurement.sequence;
        return false;
    }
    return handed;
}

void OutputChannel::reject()
{
    source_reason.clear();
    if (!transport)
        return;
    ++counts.lines;
    ++counts.not_measurements;
}

void OutputChannel::tick(qint64 now_ms)
{
    if (!transport)
        return;
    transport->tick(now_ms);
    repeat_if_due(now_ms);
}

void OutputChannel::repeat_if_due(qint64 now_ms)
{
    if (good_sentence.isEmpty() || !gate.hold_due(now_ms))
        return;
    gate.repeated(now_ms);
    ++counts.repeated;
    hand_over(good_sentence);
}

// The reading whose sentence waited has its answer: it went, or it never
// will (replaced by a newer one, or its device gone).
void OutputChannel::settle_late(bool sent)
{
    if (late_sequence >= 0)
        emit sent_late(late_sequence, sent);
    late_sequence = -1;
}

bool OutputChannel::hand_over(const QByteArray &sentence)
{
    settle_late(false); // a sentence waiting before is replaced now
    counts.last_sentence = sentence;
    const bool sent = transport->send(sentence);
    if (sent)
        ++counts.sent;
    return sent;
}

OutputStatus OutputChannel::status() const
{
    OutputStatus status = counts;
    status.dropped = dropped_before;
    status.errors = errors_before;
    if (transport) {
        status.state = transport->state();
        status.reason = transport->reason();
        status.dropped += transport->dropped();
        status.errors += transport->errors();
        status.clients = transport->clients();
        status.clients_cut = transport->clients_cut();
        status.clients_refused = transport->clients_refused();
        if (!transport->last_error().isEmpty())
            status.last_error = transport->last_error();
    }
    // A destination that cannot take sentences says so first.
    if (status.state == OutputState::sending && !source_reason.isEmpty()) {
        status.state = OutputState::waiting;
        status.reason = source_reason;
    }
    return status;
}
