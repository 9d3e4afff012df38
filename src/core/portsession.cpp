#include "portsession.h"

#include "devicecheck.h"

#include <QFileInfo>

PortSession::PortSession(QSerialPort *port, QObject *parent) : QObject(parent), port(port)
{
    retry_timer.setInterval(1000);
    connect(&retry_timer, &QTimer::timeout, this, &PortSession::retry);
    connect(port, &QSerialPort::errorOccurred, this, &PortSession::port_error);
}

bool PortSession::open(const PortSettings &chosen)
{
    close();
    settings = chosen;
    if (!open_port()) {
        reason = failure_reason_for(port->error(), settings.name);
        return false;
    }
    current = Open;
    return true;
}

// One device has one lock, whatever name was typed: the port is opened by the
// path the name leads to, links followed, and looked up anew on each retry,
// since a link may point elsewhere once the device is back.
QString PortSession::device_path(const QString &name)
{
    const QString canonical = QFileInfo(system_location(name)).canonicalFilePath();
    return canonical.isEmpty() ? name : canonical;
}

bool PortSession::open_port()
{
    port->setPortName(device_path(settings.name));
    if (!port->open(QIODevice::ReadWrite))
        return false;
    port->flush();
    if (settings.baud > 0)
        port->setBaudRate(settings.baud, QSerialPort::AllDirections);
    port->setParity(settings.parity);
    port->setDataBits(settings.data_bits);
    port->setStopBits(settings.stop_bits);
    port->setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

bool PortSession::open_or_wait(const PortSettings &chosen)
{
    if (open(chosen))
        return true;
    current = Waiting;
    retry_timer.start();
    return false;
}

void PortSession::close()
{
    retry_timer.stop();
    current = Closed;
    if (port->isOpen()) {
        port->flush();
        port->close();
    }
}

// A device that is gone makes the port raise errors without end: close it
// once, and look for the device again once a second.
void PortSession::port_error(QSerialPort::SerialPortError error)
{
    if (current != Open || !port->isOpen())
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    current = Waiting;
    emit lost();
    port->close();
    retry_timer.start();
}

void PortSession::retry()
{
    if (current != Waiting || !open_port())
        return;
    retry_timer.stop();
    current = Open;
    emit back();
}

QString PortSession::system_location(const QString &name)
{
#ifdef Q_OS_UNIX
    if (!name.startsWith(QLatin1Char('/')))
        return QStringLiteral("/dev/") + name;
#endif
    return name;
}

QString PortSession::failure_reason_for(QSerialPort::SerialPortError error, const QString &name)
{
    const QString not_found = tr("找不到该串口，请检查串口号和设备连接！");
    const QString no_permission
        = tr("没有访问该串口的权限（Linux 下请把用户加入 dialout 组后重新登录）！");
    const QString busy = tr("串口已被其他程序占用！");
    const QString not_serial = tr("该设备不是串口！");
    switch (device_problem(system_location(name))) {
    case DeviceProblem::missing:
        return not_found;
    case DeviceProblem::not_a_device:
        return not_serial;
    case DeviceProblem::no_access:
        return no_permission;
    case DeviceProblem::none:
        break;
    }
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return not_found;
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError:
        return busy;
    default:
        return not_serial;
    }
}
