#ifndef OUTPUTTRANSPORT_H
#define OUTPUTTRANSPORT_H

#include <QByteArray>
#include <QObject>
#include <QString>

enum class OutputState : quint8 {
    off, // not enabled
    sending,
    waiting, // for the device, the host name or the listening port
    error, // the last sentence could not be sent; the reason says why
};

// The word the list of outputs shows for a state.
QString output_state_text(OutputState state);

// Where an output's sentences go: a serial port, UDP or TCP clients. Sending
// never waits: a destination that cannot take a sentence now loses it and
// counts it as dropped. Anything the other side sends is read and thrown
// away, never interpreted.
class OutputTransport : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // True when the sentence went out, or waits to go out at once.
    virtual bool send(const QByteArray &sentence) = 0;
    // The last sentence given waits for the line; waiting_sent() says when
    // it went, waiting_dropped() when it never will (the device went), and a
    // newer sentence replaces it meanwhile.
    virtual bool holds_waiting() const { return false; }
    // For retries; now_ms on the caller's clock.
    virtual void tick(qint64 now_ms) { Q_UNUSED(now_ms); }
    // TCP clients: connected now, cut off for not reading, refused as one
    // too many.
    virtual int clients() const { return 0; }
    virtual qint64 clients_cut() const { return 0; }
    virtual qint64 clients_refused() const { return 0; }

    OutputState state() const { return current; }
    // Why the output is waiting or failing; empty while sending.
    QString reason() const { return why; }
    qint64 dropped() const { return dropped_count; }
    qint64 errors() const { return error_count; }
    QString last_error() const { return last_error_text; }

signals:
    // One line for the status pane: a client cut off, a device lost or back.
    void message(const QString &line);
    void waiting_sent();
    void waiting_dropped();

protected:
    void set_state(OutputState state, const QString &reason = QString());
    void count_error(const QString &text);
    void count_dropped(qint64 count = 1) { dropped_count += count; }

private:
    OutputState current = OutputState::waiting;
    QString why;
    qint64 dropped_count = 0;
    qint64 error_count = 0;
    QString last_error_text;
};

#endif
