#include "serialtransport.h"

#include "portsession.h"
#include "serialqueue.h"

SerialTransport::SerialTransport(const OutputConfig &config, QObject *parent)
    : OutputTransport(parent), settings(config)
{
    clock.start();
    waiting_timer.setSingleShot(true);
    waiting_timer.setTimerType(Qt::PreciseTimer);
    connect(&waiting_timer, &QTimer::timeout, this, &SerialTransport::send_waiting);
    connect(&port, &QSerialPort::errorOccurred, this, &SerialTransport::port_error);
    connect(&port, &QSerialPort::bytesWritten, this, &SerialTransport::send_waiting);
    // Outputs only send: whatever comes back is thrown away.
    connect(&port, &QSerialPort::readyRead, this, [this] { port.readAll(); });
    open_port();
}

bool SerialTransport::open_port()
{
    port.setPortName(settings.serial_name);
    if (!port.open(QIODevice::ReadWrite)) {
        set_state(OutputState::waiting,
                  PortSession::failure_reason_for(port.error(), settings.serial_name));
        return false;
    }
    port.setBaudRate(settings.baud, QSerialPort::AllDirections);
    port.setDataBits(settings.data_bits);
    port.setParity(settings.parity);
    port.setStopBits(settings.stop_bits);
    port.setFlowControl(QSerialPort::NoFlowControl);
    line_free_ns = 0;
    set_state(OutputState::sending);
    return true;
}

bool SerialTransport::send(const QByteArray &sentence)
{
    if (!port.isOpen()) {
        count_dropped();
        return false;
    }
    // The newest goes first or waits; a sentence waiting is never sent after
    // a newer one, even when the line became free before its turn came.
    if (!waiting.isEmpty())
        count_dropped();
    if (busy()) {
        waiting = sentence;
        if (!waiting_timer.isActive())
            wait_for_line();
        return true;
    }
    waiting.clear();
    waiting_timer.stop();
    return put(sentence);
}

// How long the bytes take on the line: start bit, data bits, parity, stop
// bits (one and a half counted as two).
qint64 SerialTransport::line_ns(qint64 bytes) const
{
    const int bits = 1 + int(settings.data_bits)
        + (settings.parity == QSerialPort::NoParity ? 0 : 1)
        + (settings.stop_bits == QSerialPort::OneStop ? 1 : 2);
    return bytes * bits * 1000000000 / qMax(1, settings.baud);
}

// Still going out: Qt holds bytes, the last sentence is not yet off the line
// at the baud rate (a pseudo-terminal takes everything at once), or the
// driver still queues bytes (flow control, a slower device).
bool SerialTransport::busy()
{
    if (port.bytesToWrite() > 0 || clock.nsecsElapsed() < line_free_ns)
        return true;
    const qint64 queued = serial_queued_bytes(qintptr(port.handle()));
    if (queued > 0) {
        line_free_ns = clock.nsecsElapsed() + line_ns(queued);
        return true;
    }
    return false;
}

// Straight to the device, so a sentence costs the event loop no extra turns
// for a write notifier; Qt's buffer takes only what the driver would not,
// and reports a failed write as usual.
bool SerialTransport::put(const QByteArray &sentence)
{
    line_free_ns = clock.nsecsElapsed() + line_ns(sentence.size());
    qint64 done = 0;
    if (port.bytesToWrite() == 0) {
        done = serial_write_direct(qintptr(port.handle()), sentence.constData(), sentence.size());
        if (done == sentence.size())
            return true;
        done = qMax<qint64>(0, done);
    }
    const QByteArray rest = sentence.mid(int(done));
    return port.write(rest) == rest.size();
}

// Qt's own buffer says when it drains by bytesWritten; the line and the
// driver are asked again when the last sentence should be out.
void SerialTransport::wait_for_line()
{
    if (port.bytesToWrite() > 0)
        return;
    const qint64 left_ns = line_free_ns - clock.nsecsElapsed();
    waiting_timer.start(int(qBound<qint64>(1, (left_ns + 999999) / 1000000, 60000)));
}

void SerialTransport::send_waiting()
{
    if (waiting.isEmpty() || !port.isOpen())
        return;
    if (busy())
        return wait_for_line();
    const QByteArray sentence = waiting;
    waiting.clear();
    if (put(sentence))
        emit waiting_sent();
}

// A device that is gone makes the port raise errors without end: close it
// once and look for the device again on the next ticks.
void SerialTransport::port_error(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !port.isOpen())
        return;
    const QString reason = tr("串口连接已断开（%1），正在等待设备……").arg(port.errorString());
    port.close();
    waiting_timer.stop();
    if (!waiting.isEmpty()) {
        count_dropped();
        waiting.clear();
        emit waiting_dropped();
    }
    set_state(OutputState::waiting, reason);
    emit message(reason);
}

void SerialTransport::tick(qint64 now_ms)
{
    if (port.isOpen() || (tried && now_ms - last_try_ms < retry_ms))
        return;
    tried = true;
    last_try_ms = now_ms;
    if (open_port())
        emit message(tr("串口 %1 已连接").arg(settings.serial_name));
}
