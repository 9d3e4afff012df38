// A publisher in a process of its own, for the test to kill or to close:
// mqtt_station PORT STATION. Prints "connected" once the broker took it and
// ends on a line "quit" (or at the end of its input).
#include "mqttpublisher.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    MqttConfig config;
    config.host = QStringLiteral("127.0.0.1");
    config.port = quint16(QByteArray(argv[1]).toUInt());
    config.station = QString::fromLocal8Bit(argv[2]);
    MqttPublisher publisher(config, {{QStringLiteral("port"), QStringLiteral("/dev/ttyUSB0")}});
    QObject::connect(&publisher, &MqttPublisher::status_changed, [](const MqttLinkStatus &status) {
        if (status.state == MqttLinkStatus::State::connected) {
            std::puts("connected");
            std::fflush(stdout);
        }
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        const ssize_t got = read(STDIN_FILENO, line, sizeof line);
        if (got <= 0 || QByteArray(line, int(got)).startsWith("quit"))
            app.quit();
    });
    return app.exec();
}
