#ifndef SERIALTRANSPORT_H
#define SERIALTRANSPORT_H

#include "outputconfig.h"
#include "outputtransport.h"

#include <QSerialPort>

// Sentences to a serial port. A port that cannot be opened, or whose device
// goes away, is tried again every second. A slow port never holds up the
// reader: while a sentence is still being written, only the newest one
// waits; the one it replaces is dropped.
class SerialTransport : public OutputTransport
{
    Q_OBJECT

public:
    static constexpr qint64 retry_ms = 1000;

    explicit SerialTransport(const OutputConfig &config, QObject *parent = nullptr);

    bool send(const QByteArray &sentence) override;
    void tick(qint64 now_ms) override;

private:
    bool open_port();
    void port_error(QSerialPort::SerialPortError error);
    void written();

    QSerialPort port;
    OutputConfig settings;
    QByteArray waiting; // the newest sentence, while the one before is still being written
    qint64 last_try_ms = 0;
    bool tried = false; // last_try_ms holds a time from tick()
};

#endif
