#include "navinput.h"

#include "portsession.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QNetworkDatagram>
#include <QSerialPort>
#include <QUdpSocket>

// The reason, and that the input keeps trying.
static QString retrying(const QString &reason)
{
    return QCoreApplication::translate("NavInput", "%1，每秒重试").arg(reason);
}

NavInput::NavInput(QObject *parent)
    : QObject(parent), now([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    qRegisterMetaType<NavFix>();
    qRegisterMetaType<CourseSpeed>();
    qRegisterMetaType<NmeaCounts>();
    rebind_timer.setInterval(1000);
    connect(&rebind_timer, &QTimer::timeout, this, &NavInput::bind_udp);
}

NavInput::~NavInput()
{
    stop();
}

void NavInput::set_retry_ms(int ms)
{
    rebind_timer.setInterval(ms);
    if (session)
        session->set_retry_ms(ms);
}

void NavInput::start(const NavSource &chosen)
{
    stop();
    source = chosen;
    // A fix from another receiver must not stamp the readings from now on.
    decoder.state().clear();
    if (source.kind == NavSource::udp) {
        socket = new QUdpSocket(this);
        connect(socket, &QUdpSocket::readyRead, this, &NavInput::read_datagrams);
        bind_udp();
        return;
    }
    if (!port) {
        port = new QSerialPort(this);
        session = new PortSession(port, this);
        session->set_retry_ms(rebind_timer.interval());
        connect(port, &QSerialPort::readyRead, this, &NavInput::read_serial);
        connect(session, &PortSession::lost, this, &NavInput::serial_lost);
        connect(session, &PortSession::back, this, [this] { set_state(connected, QString()); });
    }
    PortSettings settings;
    settings.name = source.path;
    settings.baud = source.baud;
    if (session->open_or_wait(settings))
        set_state(connected, QString());
    else
        set_state(waiting, retrying(session->failure_reason()));
}

void NavInput::stop()
{
    rebind_timer.stop();
    if (session)
        session->close();
    if (socket) {
        socket->close();
        socket->deleteLater();
        socket = nullptr;
    }
    decoder.cut();
    set_state(stopped, QString());
}

void NavInput::bind_udp()
{
    if (!socket)
        return;
    if (socket->bind(QHostAddress::AnyIPv4, source.port,
                     QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        rebind_timer.stop();
        set_state(connected, QString());
        return;
    }
    const QString reason
        = tr("无法监听 UDP 端口 %1（%2）").arg(source.port).arg(socket->errorString());
    set_state(waiting, retrying(reason));
    rebind_timer.start();
}

void NavInput::read_serial()
{
    const QByteArray bytes = port->readAll();
    if (!bytes.isEmpty()) {
        const qint64 arrival = now();
        publish(decoder.feed(bytes, arrival), arrival);
    }
}

void NavInput::read_datagrams()
{
    while (socket && socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        const qint64 arrival = now();
        publish(decoder.feed_datagram(datagram.data(), arrival), arrival);
    }
}

// What the port still held is read first; a sentence it cut short is dropped.
void NavInput::serial_lost()
{
    read_serial();
    decoder.cut();
    emit counts_changed(decoder.counts());
    set_state(waiting, retrying(tr("GNSS 接收机的串口已断开")));
}

void NavInput::publish(const NavDecoder::Batch &batch, qint64 arrival_ms)
{
    if (batch.fix_lost)
        emit fix_lost(arrival_ms);
    for (const NavFix &fix : batch.fixes)
        emit fix_received(fix, arrival_ms);
    if (batch.course_changed)
        emit course_received(*decoder.state().course_speed(), arrival_ms);
    for (qint64 offset : batch.offsets_ms)
        emit offset_measured(offset, arrival_ms);
    if (batch.counts_changed)
        emit counts_changed(decoder.counts());
}

void NavInput::set_state(State state, const QString &reason)
{
    if (state == current && reason == why)
        return;
    current = state;
    why = reason;
    emit state_changed(current, why);
}
