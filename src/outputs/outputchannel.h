#ifndef OUTPUTCHANNEL_H
#define OUTPUTCHANNEL_H

#include "outputconfig.h"
#include "outputgate.h"
#include "outputtransport.h"
#include "readingsink.h"

#include <QByteArray>
#include <QObject>

// What the list of outputs shows for one output, read a few times a second.
// Every line an enabled output sees is one of forwarded, gated or
// not_measurements.
struct OutputStatus
{
    OutputState state = OutputState::off;
    QString reason; // why it is waiting or failing
    qint64 lines = 0; // lines seen while enabled
    qint64 forwarded = 0; // readings handed to the transport
    qint64 gated = 0; // readings the gate held back
    qint64 not_measurements = 0;
    qint64 sent = 0; // sentences that went out, repeats of a held value included
    qint64 repeated = 0; // repeats of the last good value
    qint64 dropped = 0; // sentences lost: no device or address yet, replaced while waiting
    qint64 errors = 0; // send errors
    QString last_error;
    int clients = 0; // TCP clients connected
    qint64 clients_cut = 0; // TCP clients cut off for not reading
    qint64 clients_refused = 0; // TCP clients beyond the 8
    QByteArray last_sentence;
};

// One output: its gate, its sentence format and where the sentences go.
// Changing the configuration applies at once; the connection is made again
// only when the destination changed. The counts stay.
class OutputChannel : public QObject
{
    Q_OBJECT

public:
    explicit OutputChannel(const OutputConfig &config, QObject *parent = nullptr);

    void configure(const OutputConfig &config);
    const OutputConfig &config() const { return settings; }

    // True when the reading went out. One whose sentence waits for the line
    // is settled later: sent_late() names it, with whether it went.
    bool take(const Measurement &measurement);
    bool waits_for(qint64 sequence) const { return late_sequence == sequence; }
    void reject();
    // Repeats a held value when due, and retries a lost destination.
    void tick(qint64 now_ms);
    // Valid readings stopped coming: no more repeats.
    void expire() { gate.expire(); }
    // The instrument's port closed or went: nothing to send, so the output
    // says it waits and why (empty: it is back) until something is read.
    void wait_for_source(const QString &reason);

    OutputStatus status() const;

signals:
    void message(const QString &line);
    void sent_late(qint64 sequence, bool sent);

private:
    void repeat_if_due(qint64 now_ms);
    void settle_late(bool sent);
    bool hand_over(const QByteArray &sentence);
    void close_transport();

    OutputConfig settings;
    OutputGate gate;
    OutputTransport *transport = nullptr; // none while disabled
    OutputStatus counts;
    qint64 dropped_before = 0, errors_before = 0; // by transports since replaced
    QByteArray good_sentence; // the last good reading's, for repeats
    qint64 late_sequence = -1; // the reading whose sentence waits for the line
    QString source_reason; // why nothing comes from the instrument; empty while it sends
};

#endif
