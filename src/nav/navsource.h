#ifndef NAVSOURCE_H
#define NAVSOURCE_H

#include <QString>

#include <optional>

// Where the GNSS receiver's sentences come from, as typed after --nav:
// "serial:PATH[:BAUD]" (4800 baud unless given) or "udp:PORT" (a local IPv4
// port the receiver broadcasts to).
struct NavSource
{
    enum Kind { serial, udp };
    static constexpr qint32 default_baud = 4800;

    Kind kind = serial;
    QString path; // serial: a port name or device path
    qint32 baud = default_baud;
    quint16 port = 0; // udp

    // Parses the option text; nothing, with *error (if given) saying what is
    // wrong, in words for the operator.
    static std::optional<NavSource> parse(const QString &text, QString *error);
    // The option text that parses back to this source.
    QString text() const;
    bool operator==(const NavSource &other) const;
};

#endif
