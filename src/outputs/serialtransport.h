#ifndef SERIALTRANSPORT_H
#define SERIALTRANSPORT_H

#include "outputconfig.h"
#include "outputtransport.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QTimer>

// Sentences to a serial port. A port that cannot be opened, or whose device
// goes away, is tried again every second. A slow port never holds up the
// reader: while a sentence is still going out on the line, only the newest
// one waits; the one it replaces is dropped.
class SerialTransport : public OutputTransport
{
    Q_OBJECT

public:
    static constexpr qint64 retry_ms = 1000;

    explicit SerialTransport(const OutputConfig &config, QObject *parent = nullptr);

    bool send(const QByteArray &sentence) override;
    bool holds_waiting() const override { return !waiting.isEmpty(); }
    void tick(qint64 now_ms) override;

private:
    bool open_port();
    void port_error(QSerialPort::SerialPortError error);
    bool busy();
    bool put(const QByteArray &sentence);
    void send_waiting();
    void wait_for_line();
    qint64 line_ns(qint64 bytes) const;

    QSerialPort port;
    OutputConfig settings;
    QByteArray waiting; // the newest sentence, while the one before is still going out
    QElapsedTimer clock;
    qint64 line_free_ns = 0; // on clock: when the last sentence is off the line at the baud rate
    QTimer waiting_timer; // sends the waiting sentence once the line is free
    qint64 last_try_ms = 0;
    bool tried = false; // last_try_ms holds a time from tick()
};

#endif
