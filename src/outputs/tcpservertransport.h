#ifndef TCPSERVERTRANSPORT_H
#define TCPSERVERTRANSPORT_H

#include "outputconfig.h"
#include "outputtransport.h"

#include <QTcpServer>
#include <QVector>

class QTcpSocket;

// A TCP server on the output's port: up to 8 clients come and go at any
// time, each getting every sentence from when it connects; a 9th is closed
// at once. A client that stops reading is cut off once 64 KiB wait for it,
// so it holds up neither the reader nor the other clients. A port that
// cannot be listened on is tried again every second.
class TcpServerTransport : public OutputTransport
{
    Q_OBJECT

public:
    static constexpr int max_clients = 8;
    static constexpr qint64 max_waiting = 64 * 1024;
    static constexpr qint64 retry_ms = 1000;

    explicit TcpServerTransport(const OutputConfig &config, QObject *parent = nullptr);
    ~TcpServerTransport() override;

    bool send(const QByteArray &sentence) override;
    void tick(qint64 now_ms) override;
    int clients() const override { return connected.size(); }
    qint64 clients_cut() const override { return cut_count; }
    qint64 clients_refused() const override { return refused_count; }

private:
    bool listen();
    void accept();
    void write_now(QTcpSocket *client, const QByteArray &sentence);
    void cut(QTcpSocket *client);
    void forget(QTcpSocket *client);

    QTcpServer server;
    quint16 port;
    QVector<QTcpSocket *> connected;
    qint64 refused_count = 0;
    qint64 cut_count = 0;
    qint64 last_try_ms = 0;
    bool tried = false; // last_try_ms holds a time from tick()
};

#endif
