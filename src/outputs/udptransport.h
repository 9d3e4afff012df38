#ifndef UDPTRANSPORT_H
#define UDPTRANSPORT_H

#include "outputconfig.h"
#include "outputtransport.h"

#include <QHostAddress>
#include <QUdpSocket>

class QHostInfo;

// Sentences as UDP datagrams to a host name or an IPv4 address, a broadcast
// address too. A host name is looked up without waiting; a name that cannot
// be found is looked up again every ten seconds. Send errors are counted and
// the last one kept for the list of outputs.
class UdpTransport : public OutputTransport
{
    Q_OBJECT

public:
    static constexpr qint64 lookup_retry_ms = 10000;

    explicit UdpTransport(const OutputConfig &config, QObject *parent = nullptr);

    bool send(const QByteArray &sentence) override;
    void tick(qint64 now_ms) override;

private:
    void look_up();
    void looked_up(const QHostInfo &info);
    void found();

    QUdpSocket socket;
    QString host;
    quint16 port;
    QHostAddress address; // null until the host name is found
    bool looking_up = false;
    qint64 last_lookup_ms = 0;
    bool lookup_timed = false; // last_lookup_ms holds a time from tick()
};

#endif
