#ifndef OUTPUT_TEST_SUPPORT_H
#define OUTPUT_TEST_SUPPORT_H

// For the output tests: readings from instrument lines, outputs from their
// text form, and loopback ends (a free TCP port, a client that never reads,
// what a pseudo-terminal has received so far, what waits at a socket).

#include "measurementstream.h"
#include "outputconfig.h"
#include "readingsink.h"

#include <QByteArray>
#include <QTcpServer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

inline quint16 free_tcp_port()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// What has arrived; with wait_ms, once something has (waiting without
// running the event loop).
inline QByteArray read_pty(int master, int wait_ms = 0)
{
    pollfd readable{master, POLLIN, 0};
    ::poll(&readable, 1, wait_ms);
    QByteArray got;
    char buffer[256];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
        got.append(buffer, int(n));
    return got;
}

// Connected with a small receive buffer so the sender backs up soon; -1 on failure.
inline int stalled_client(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
        return fd;
    ::close(fd);
    return -1;
}

// Bytes that arrived at a socket and wait to be read.
inline int bytes_waiting(int fd)
{
    int count = 0;
    return ::ioctl(fd, FIONREAD, &count) == 0 ? count : -1;
}

// A line as the instrument sends it, e.g. "$ 1489.805 10.0449\r\n".
inline Reading reading_of(const QString &line)
{
    return MeasurementStream::parse(line.mid(1));
}

// A Measurement only refers to its reading, so the reading is kept here.
inline int take_good(ReadingSink &sink, const QString &line, qint64 now)
{
    const Reading reading = reading_of(line);
    return sink.take({reading, Quality::ok, QString(), now});
}

inline OutputConfig parsed(const QString &text)
{
    OutputConfig config;
    QString error;
    if (!OutputConfig::parse(text, &config, &error))
        qFatal("%s: %s", qPrintable(text), qPrintable(error));
    return config;
}

#endif
