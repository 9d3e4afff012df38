// The least a Qt Widgets program woken by a serial stream can do: open the
// port given as its argument and read what comes, with no window, parsing or
// drawing. Beside a GNSS receiver at 10 epochs a second it is the floor under
// any navigation input: the cost of waking up and reading.
#include <QApplication>
#include <QSerialPort>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: readfloor PORT\n");
        return 2;
    }
    QSerialPort port(QString::fromLocal8Bit(argv[1]));
    if (!port.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "readfloor: %s\n", qPrintable(port.errorString()));
        return 1;
    }
    qint64 bytes = 0;
    QObject::connect(&port, &QSerialPort::readyRead, [&] { bytes += port.readAll().size(); });
    return app.exec();
}
