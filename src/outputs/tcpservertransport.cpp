#include "tcpservertransport.h"

#include "socketsend.h"

#include <QTcpSocket>

TcpServerTransport::TcpServerTransport(const OutputConfig &config, QObject *parent)
    : OutputTransport(parent), port(config.port)
{
    connect(&server, &QTcpServer::newConnection, this, &TcpServerTransport::accept);
    listen();
}

TcpServerTransport::~TcpServerTransport()
{
    for (QTcpSocket *client : qAsConst(connected)) {
        client->disconnect(this);
        client->abort();
        delete client;
    }
}

bool TcpServerTransport::listen()
{
    if (!server.listen(QHostAddress::Any, port)) {
        set_state(OutputState::waiting,
                  tr("无法在端口 %1 上监听：%2").arg(port).arg(server.errorString()));
        return false;
    }
    set_state(OutputState::sending);
    return true;
}

void TcpServerTransport::accept()
{
    while (QTcpSocket *client = server.nextPendingConnection()) {
        if (connected.size() >= max_clients) {
            ++refused_count;
            client->abort();
            client->deleteLater();
            continue;
        }
        connected.append(client);
        // The system holds no more than we do for a client, so one that stops
        // reading is noticed after about 64 KiB, not megabytes.
        client->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, max_waiting);
        // Outputs only send: whatever a client says is thrown away.
        connect(client, &QTcpSocket::readyRead, client, [client] { client->readAll(); });
        connect(client, &QTcpSocket::disconnected, this, [this, client] { forget(client); });
    }
}

// Each client's bytes go to the system at once, so what waits in the
// client's buffer is only what the client has not taken.
bool TcpServerTransport::send(const QByteArray &sentence)
{
    bool sent = false;
    const QVector<QTcpSocket *> clients = connected;
    for (QTcpSocket *client : clients) {
        write_now(client, sentence);
        if (client->bytesToWrite() >= max_waiting)
            cut(client);
        else
            sent = true;
    }
    return sent;
}

// Straight to the socket while nothing waits in Qt's buffer: QTcpSocket
// would switch its write notifier on and off for every sentence, each
// switch one more turn of the event loop. What the system does not take,
// and any failure, goes the usual way through the socket.
void TcpServerTransport::write_now(QTcpSocket *client, const QByteArray &sentence)
{
    qint64 done = 0;
    if (client->bytesToWrite() == 0) {
        done = socket_send_now(client->socketDescriptor(), sentence.constData(), sentence.size());
        if (done == sentence.size())
            return;
        done = qMax<qint64>(0, done);
    }
    client->write(sentence.constData() + done, sentence.size() - done);
    client->flush();
}

void TcpServerTransport::cut(QTcpSocket *client)
{
    ++cut_count;
    bool ipv4 = false;
    const QHostAddress peer(client->peerAddress().toIPv4Address(&ipv4));
    emit message(tr("TCP 客户端 %1:%2 不再接收数据（积压 %3 KiB），已断开")
                     .arg(ipv4 ? peer.toString() : client->peerAddress().toString())
                     .arg(client->peerPort())
                     .arg(max_waiting / 1024));
    forget(client);
    client->abort();
}

void TcpServerTransport::forget(QTcpSocket *client)
{
    if (connected.removeOne(client)) {
        client->disconnect(this);
        client->deleteLater();
    }
}

void TcpServerTransport::tick(qint64 now_ms)
{
    if (server.isListening() || (tried && now_ms - last_try_ms < retry_ms))
        return;
    tried = true;
    last_try_ms = now_ms;
    listen();
}
