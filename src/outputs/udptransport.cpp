#include "udptransport.h"

#include <QHostInfo>
#include <QNetworkDatagram>

UdpTransport::UdpTransport(const OutputConfig &config, QObject *parent)
    : OutputTransport(parent), host(config.host), port(config.port)
{
    // Outputs only send: a datagram that comes back is thrown away.
    connect(&socket, &QUdpSocket::readyRead, this, [this] {
        while (socket.hasPendingDatagrams())
            socket.receiveDatagram(0);
    });
    if (address.setAddress(host))
        found();
    else
        look_up();
}

// An IPv4 destination gets an IPv4 socket: Qt's default, a dual-stack IPv6
// socket sending to a mapped address, costs the system half again as much
// per datagram.
void UdpTransport::found()
{
    if (address.protocol() == QAbstractSocket::IPv4Protocol
        && socket.state() == QAbstractSocket::UnconnectedState)
        socket.bind(QHostAddress(QHostAddress::AnyIPv4), 0);
    set_state(OutputState::sending);
}

void UdpTransport::look_up()
{
    looking_up = true;
    set_state(OutputState::waiting, tr("正在查找主机 %1").arg(host));
    QHostInfo::lookupHost(host, this, &UdpTransport::looked_up);
}

// The first IPv4 address, as the sonar's network is IPv4.
void UdpTransport::looked_up(const QHostInfo &info)
{
    looking_up = false;
    address.clear();
    for (const QHostAddress &found : info.addresses()) {
        if (found.protocol() == QAbstractSocket::IPv4Protocol) {
            address = found;
            break;
        }
    }
    if (address.isNull() && !info.addresses().isEmpty())
        address = info.addresses().constFirst();
    if (address.isNull())
        set_state(OutputState::waiting, tr("找不到主机 %1").arg(host));
    else
        found();
}

bool UdpTransport::send(const QByteArray &sentence)
{
    if (address.isNull()) {
        count_dropped();
        return false;
    }
    if (socket.writeDatagram(sentence, address, port) != sentence.size()) {
        count_error(socket.errorString());
        return false;
    }
    if (state() != OutputState::sending)
        set_state(OutputState::sending);
    return true;
}

void UdpTransport::tick(qint64 now_ms)
{
    if (!address.isNull() || looking_up)
        return;
    if (!lookup_timed || now_ms - last_lookup_ms >= lookup_retry_ms) {
        const bool due = lookup_timed;
        lookup_timed = true;
        last_lookup_ms = now_ms;
        if (due)
            look_up();
    }
}
