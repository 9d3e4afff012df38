#ifndef OUTPUTCONFIG_H
#define OUTPUTCONFIG_H

#include "outputgate.h"
#include "sentence.h"

#include <QSerialPort>
#include <QString>
#include <QVariantMap>

// One output as the operator sets it up. On the command line:
//   udp:HOST:PORT[:FORMAT]         HOST a name or an IPv4 address, broadcast too
//   tcp:PORT[:FORMAT]              a server on PORT for up to 8 clients
//   serial:PATH[:BAUD[:FORMAT]]    a port name (COM3, ttyUSB0) or a device path
// FORMAT is sv2, sv3, svt, line or json; sv2 when left out.
struct OutputConfig
{
    enum Kind : quint8 { serial, udp, tcp };

    Kind kind = udp;
    bool enabled = true;
    SentenceFormat format = SentenceFormat::sv2;
    OutputGate::Mode gate = OutputGate::good_only;
    bool hold = false; // repeat the last good value while readings are held back
    QString serial_name;
    qint32 baud = 9600;
    QSerialPort::DataBits data_bits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stop_bits = QSerialPort::OneStop;
    QString host;
    quint16 port = 0;

    // From the command-line form; false with *error saying what is wrong.
    static bool parse(const QString &text, OutputConfig *config, QString *error);
    // The command-line form, the format always written out.
    QString to_text() const;

    // For a settings store. from_map() checks as parse() does.
    QVariantMap to_map() const;
    static bool from_map(const QVariantMap &map, OutputConfig *config, QString *error);

    // True when both send to the same place the same way, so an edit between
    // them can keep the connection (gate, hold and format change at once).
    bool same_destination(const OutputConfig &other) const;
    bool operator==(const OutputConfig &other) const;
    bool operator!=(const OutputConfig &other) const { return !(*this == other); }
};

#endif
