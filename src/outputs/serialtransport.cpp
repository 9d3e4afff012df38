#include "serialtransport.h"

#include "portsession.h"

SerialTransport::SerialTransport(const OutputConfig &config, QObject *parent)
    : OutputTransport(parent), settings(config)
{
    connect(&port, &QSerialPort::errorOccurred, this, &SerialTransport::port_error);
    connect(&port, &QSerialPort::bytesWritten, this, &SerialTransport::written);
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
    set_state(OutputState::sending);
    return true;
}

bool SerialTransport::send(const QByteArray &sentence)
{
    if (!port.isOpen()) {
        count_dropped();
        return false;
    }
    if (port.bytesToWrite() > 0) {
        if (!waiting.isEmpty())
            count_dropped();
        waiting = sentence;
        return true;
    }
    return port.write(sentence) == sentence.size();
}

void SerialTransport::written()
{
    if (port.bytesToWrite() > 0 || waiting.isEmpty())
        return;
    port.write(waiting);
    waiting.clear();
}

// A device that is gone makes the port raise errors without end: close it
// once and look for the device again on the next ticks.
void SerialTransport::port_error(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !port.isOpen())
        return;
    const QString reason
        = QStringLiteral("串口连接已断开（%1），正在等待设备……").arg(port.errorString());
    port.close();
    if (!waiting.isEmpty())
        count_dropped();
    waiting.clear();
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
        emit message(QStringLiteral("串口 %1 已连接").arg(settings.serial_name));
}
