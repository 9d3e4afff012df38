// The least a Qt Widgets serial display can do: open the port given as its
// argument, read each line as it comes, and show the newest one in a label,
// redrawn at most ten times a second (a line after 100 ms without a redraw is
// drawn at once). No parsing, no log, no pane. What it costs on the bench is
// the floor under any display built with Qt Widgets on this machine.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSerialPort>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: floor PORT\n");
        return 2;
    }
    QSerialPort port(QString::fromLocal8Bit(argv[1]));
    if (!port.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "floor: %s\n", qPrintable(port.errorString()));
        return 1;
    }
    QWidget window;
    auto *label = new QLabel(QStringLiteral("-"));
    QFont font = label->font();
    font.setPointSize(24);
    label->setFont(font);
    (new QVBoxLayout(&window))->addWidget(label);
    window.resize(400, 200);
    window.show();

    QByteArray pending, newest;
    QElapsedTimer since_frame;
    QTimer frame;
    frame.setSingleShot(true);
    QObject::connect(&frame, &QTimer::timeout, [&] {
        label->setText(QString::fromLatin1(newest));
        since_frame.start();
    });
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        pending += port.readAll();
        const int end = pending.lastIndexOf('\n');
        if (end < 0)
            return;
        const int start = pending.lastIndexOf('\n', end - 1) + 1;
        newest = pending.mid(start, end - start).trimmed();
        pending.remove(0, end + 1);
        if (!frame.isActive())
            frame.start(since_frame.isValid() ? int(qMax<qint64>(0, 100 - since_frame.elapsed()))
                                              : 0);
    });
    return app.exec();
}
