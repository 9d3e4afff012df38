#ifndef NAVINPUT_H
#define NAVINPUT_H

#include "navdecoder.h"
#include "navsource.h"

#include <QObject>
#include <QTimer>

#include <functional>

class PortSession;
class QSerialPort;
class QUdpSocket;

// The GNSS receiver's input: a serial port that is reopened every second
// while it is gone, or a local UDP port receivers broadcast to, rebound every
// second while it cannot be bound. It runs on its own: losing it disturbs
// nothing else, and readings simply go without a position.
//
// Every line is stamped with clock() when its bytes were read; the clock is
// the PC's UTC clock unless a test gives another.
class NavInput : public QObject
{
    Q_OBJECT

public:
    enum State { stopped, connected, waiting };
    Q_ENUM(State)
    using Clock = std::function<qint64()>; // milliseconds since the epoch, UTC

    explicit NavInput(QObject *parent = nullptr);
    ~NavInput() override;

    void set_clock(Clock clock) { now = std::move(clock); }
    // Starts reading from source (stopping any earlier one). Does not fail:
    // a source that cannot be opened yet is retried every second, and
    // state_changed() says why it waits.
    void start(const NavSource &source);
    void stop();
    // Tests retry sooner than every second.
    void set_retry_ms(int ms);

    State state() const { return current; }
    QString reason() const { return why; }

    NavState &nav_state() { return decoder.state(); }
    const NavState &nav_state() const { return decoder.state(); }
    const ClockOffset &clock_offset() const { return decoder.clock_offset(); }
    ClockOffset &clock_offset() { return decoder.clock_offset(); }
    NmeaCounts counts() const { return decoder.counts(); }
    // The position for a reading taken at reading_ms (the same clock).
    std::optional<PositionTag> tag(qint64 reading_ms) const
    {
        return decoder.state().tag(reading_ms);
    }

signals:
    void fix_received(const NavFix &fix, qint64 arrival_ms);
    void fix_lost(qint64 arrival_ms);
    void course_received(const CourseSpeed &course, qint64 arrival_ms);
    // One measurement of PC minus GNSS time.
    void offset_measured(qint64 offset_ms, qint64 arrival_ms);
    // Connected, waiting (with the reason) or stopped.
    void state_changed(NavInput::State state, const QString &reason);
    void counts_changed(const NmeaCounts &counts);

private:
    void read_serial();
    void read_datagrams();
    void bind_udp();
    void serial_lost();
    void publish(const NavDecoder::Batch &batch, qint64 arrival_ms);
    void set_state(State state, const QString &reason);

    NavDecoder decoder;
    Clock now;
    NavSource source;
    QSerialPort *port = nullptr;
    PortSession *session = nullptr;
    QUdpSocket *socket = nullptr;
    QTimer rebind_timer;
    State current = stopped;
    QString why;
};

#endif
