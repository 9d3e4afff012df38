#ifndef PORTSESSION_H
#define PORTSESSION_H

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

struct PortSettings
{
    QString name; // "COM1" or a device path such as /dev/ttyUSB0
    qint32 baud = 0; // 0: leave the port's rate as it is
    QSerialPort::DataBits data_bits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stop_bits = QSerialPort::OneStop;
};

// A session on one serial port: opened by the operator, it lasts until the
// operator closes it. A device that goes away closes the port at once; the
// session then tries to open the same port with the same settings every
// second until the device is back.
class PortSession : public QObject
{
    Q_OBJECT

public:
    enum State { Closed, Open, Waiting };

    explicit PortSession(QSerialPort *port, QObject *parent = nullptr);

    // Opens the port and applies the settings; on failure the session stays
    // closed and failure_reason() says why.
    bool open(const PortSettings &settings);
    // Opens the port, or, while it cannot be opened, tries again every second
    // as after a loss (back() then says it opened): for unattended starts.
    bool open_or_wait(const PortSettings &settings);
    // Ends the session, whether the port is open or awaited.
    void close();

    State state() const { return current; }
    bool active() const { return current != Closed; }
    QString failure_reason() const { return reason; }
    // Tests wait less than the operator's second between attempts.
    void set_retry_ms(int ms) { retry_timer.setInterval(ms); }

    static QString failure_reason_for(QSerialPort::SerialPortError error, const QString &name);
    static QString system_location(const QString &name);
    static QString device_path(const QString &name);

signals:
    // The device is gone; emitted while the port is still open, so what it
    // delivered can still be read. The port is closed right after.
    void lost();
    // The port is open again after a loss.
    void back();

private:
    void port_error(QSerialPort::SerialPortError error);
    void retry();
    bool open_port();

    QSerialPort *port;
    PortSettings settings;
    QTimer retry_timer;
    State current = Closed;
    QString reason;
};

#endif
