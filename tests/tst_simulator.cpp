#include "mackenzie.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cmath>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

static const QRegularExpression
    twoFieldLine(QStringLiteral("^\\$ (\\d+\\.\\d{3}) (-?\\d+\\.\\d{3})\\r\\n$"));
static const QRegularExpression oneFieldLine(QStringLiteral("^\\$ (\\d+\\.\\d{3})\\r\\n$"));

static bool isDataLine(const QByteArray &line)
{
    const QString text = QString::fromLatin1(line);
    return twoFieldLine.match(text).hasMatch() || oneFieldLine.match(text).hasMatch();
}

// The simulator as a child process; stopped with SIGTERM like a user would.
class Simulator
{
public:
    ~Simulator() { stop(); }

    bool start(const QStringList &arguments)
    {
        process.start(QStringLiteral(INSTRUMENT_SIM), arguments);
        if (!process.waitForStarted(5000))
            return false;
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead(5000))
                return false;
        }
        devicePath = process.readLine().trimmed();
        return devicePath.startsWith("/dev/");
    }

    bool stop()
    {
        if (process.state() == QProcess::NotRunning)
            return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
            return false;
        }
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QProcess process;
    QByteArray devicePath;
};

// The slave side, opened and read the way the terminal program would.
class Device
{
public:
    ~Device() { close(); }

    bool open(const QByteArray &path)
    {
        fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return false;
        termios settings;
        if (tcgetattr(fd, &settings) != 0)
            return false;
        cfmakeraw(&settings);
        return tcsetattr(fd, TCSANOW, &settings) == 0;
    }

    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    // One line including its "\r\n", or empty on timeout or end.
    QByteArray readLine(int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            const int newline = buffer.indexOf('\n');
            if (newline >= 0) {
                const QByteArray line = buffer.left(newline + 1);
                buffer.remove(0, newline + 1);
                return line;
            }
            if (ended)
                return QByteArray();
            const int remaining = qMax(0, timeoutMs - int(timer.elapsed()));
            pollfd pfd = {fd, POLLIN, 0};
            if (poll(&pfd, 1, remaining) == 0)
                return QByteArray();
            readAvailable();
        }
    }

    // Reads what is there now, noting whether a read stopped mid-line.
    void readAvailable()
    {
        char chunk[4096];
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count > 0) {
            buffer.append(chunk, int(count));
            ++reads;
            if (chunk[count - 1] != '\n')
                ++partialReads;
        } else if (count == 0 || errno == EIO) {
            ended = true;
        }
    }

    // The first line that is not a well-formed measurement: a command reply.
    QByteArray readReply(int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            const QByteArray line = readLine(timeoutMs - int(timer.elapsed()));
            if (!line.isEmpty() && !isDataLine(line))
                return line;
        }
        return QByteArray();
    }

    // Typed like the terminal program does it: a character at a time.
    bool sendCommand(const QByteArray &command)
    {
        for (char c : command) {
            if (::write(fd, &c, 1) != 1)
                return false;
            QThread::msleep(20);
        }
        return ::write(fd, "\r", 1) == 1;
    }

    // Waits for one line, then counts the lines that follow within the window.
    int countLines(int windowMs)
    {
        if (readLine(3000).isEmpty())
            return 0;
        QElapsedTimer timer;
        timer.start();
        int count = 0;
        while (timer.elapsed() < windowMs) {
            if (!readLine(windowMs - int(timer.elapsed())).isEmpty())
                ++count;
        }
        // Lines already waiting were sent inside the window.
        while (!readLine(0).isEmpty())
            ++count;
        return count;
    }

    int fd = -1;
    QByteArray buffer;
    bool ended = false;
    int reads = 0;
    int partialReads = 0;
};

class tst_Simulator : public QObject
{
    Q_OBJECT

private slots:
    void mackenzieCheckValues();
    void lineFormat_data();
    void lineFormat();
    void defaultRate();
    void waterTempDisable();
    void dataRate();
    void otherCommands();
    void saveConfiguration();
    void faultInjection();
    void hangupAfter();
    void linkCreatedAndRemoved();
    void linkRefusesExistingFile();
};

void tst_Simulator::mackenzieCheckValues()
{
    QVERIFY(std::fabs(mackenzie_speed(10.0, 35.0, 0.0) - 1489.80) < 0.01);
    QVERIFY(std::fabs(mackenzie_speed(20.0, 35.0, 0.0) - 1521.46) < 0.01);
    // Saltier and deeper water is faster.
    QVERIFY(mackenzie_speed(10.0, 36.0, 0.0) > mackenzie_speed(10.0, 35.0, 0.0));
    QVERIFY(mackenzie_speed(10.0, 35.0, 1000.0) > mackenzie_speed(10.0, 35.0, 0.0));
}

void tst_Simulator::lineFormat_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<double>("salinity");
    QTest::addColumn<double>("depth");

    QTest::newRow("defaults") << QStringList() << 15.0 << 35.0 << 0.0;
    QTest::newRow("cold, fresher, deep")
        << QStringList({"--temperature", "4", "--salinity", "30", "--depth", "800"}) << 4.0 << 30.0
        << 800.0;
}

void tst_Simulator::lineFormat()
{
    QFETCH(QStringList, arguments);
    QFETCH(double, temperature);
    QFETCH(double, salinity);
    QFETCH(double, depth);

    Simulator simulator;
    QVERIFY(simulator.start(arguments << "--rate"
                                      << "30"));
    Device device;
    QVERIFY(device.open(simulator.devicePath));

    for (int i = 0; i < 20; ++i) {
        const QByteArray line = device.readLine(3000);
        const QRegularExpressionMatch match = twoFieldLine.match(QString::fromLatin1(line));
        QVERIFY2(match.hasMatch(), line.toPercentEncoding().constData());
        const double speed = match.captured(1).toDouble();
        const double lineTemperature = match.captured(2).toDouble();
        QVERIFY2(std::fabs(speed - mackenzie_speed(lineTemperature, salinity, depth)) <= 0.002,
                 line.constData());
        QVERIFY(std::fabs(lineTemperature - temperature) < 0.1);
    }
}

void tst_Simulator::defaultRate()
{
    Simulator simulator;
    QVERIFY(simulator.start({}));
    Device device;
    QVERIFY(device.open(simulator.devicePath));

    const int count = device.countLines(2000);
    QVERIFY2(count >= 15, qPrintable(QString::number(count)));
    QVERIFY2(count <= 20, qPrintable(QString::number(count)));
}

void tst_Simulator::waterTempDisable()
{
    Simulator simulator;
    QVERIFY(simulator.start({"--rate", "20"}));
    Device device;
    QVERIFY(device.open(simulator.devicePath));

    QVERIFY(twoFieldLine.match(QString::fromLatin1(device.readLine(3000))).hasMatch());

    QVERIFY(device.sendCommand("water temp disable"));
    QCOMPARE(device.readReply(3000), QByteArray("OK water temp disable\r\n"));
    for (int i = 0; i < 5; ++i) {
        const QByteArray line = device.readLine(3000);
        QVERIFY2(oneFieldLine.match(QString::fromLatin1(line)).hasMatch(), line.constData());
    }

    QVERIFY(device.sendCommand("water temp enable"));
    QCOMPARE(device.readReply(3000), QByteArray("OK water temp enable\r\n"));
    for (int i = 0; i < 5; ++i) {
        const QByteArray line = device.readLine(3000);
        QVERIFY2(twoFieldLine.match(QString::fromLatin1(line)).hasMatch(), line.constData());
    }
}

void tst_Simulator::dataRate()
{
    Simulator simulator;
    QVERIFY(simulator.start({}));
    Device device;
    QVERIFY(device.open(simulator.devicePath));
    QVERIFY(!device.readLine(3000).isEmpty());

    QVERIFY(device.sendCommand("data rate 20"));
    QCOMPARE(device.readReply(3000), QByteArray("OK data rate 20\r\n"));
    const int count = device.countLines(1000);
    QVERIFY2(count >= 18, qPrintable(QString::number(count)));
    QVERIFY2(count <= 30, qPrintable(QString::number(count)));

    QVERIFY(device.sendCommand("data rate 31"));
    const QByteArray reply = device.readReply(3000);
    QVERIFY2(reply.startsWith("ERR"), reply.constData());
    QVERIFY(!reply.startsWith('$'));
    QVERIFY(reply.endsWith("\r\n"));

    QVERIFY(device.sendCommand("data rate 0"));
    QVERIFY(device.readReply(3000).startsWith("ERR"));
}

void tst_Simulator::otherCommands()
{
    Simulator simulator;
    QVERIFY(simulator.start({}));
    Device device;
    QVERIFY(device.open(simulator.devicePath));
    QVERIFY(!device.readLine(3000).isEmpty());

    QVERIFY(device.sendCommand("uart bps 9600"));
    QCOMPARE(device.readReply(3000), QByteArray("OK uart bps 9600\r\n"));
    QVERIFY(device.sendCommand("uart bps 1234"));
    QVERIFY(device.readReply(3000).startsWith("ERR"));
    QVERIFY(device.sendCommand("data rate 08"));
    QCOMPARE(device.readReply(3000), QByteArray("OK data rate 8\r\n"));
    QVERIFY(device.sendCommand("hello"));
    QVERIFY(device.readReply(3000).startsWith("ERR"));

    // An empty command gets no reply, so the next reply is for the next command.
    QVERIFY(device.sendCommand(""));
    QVERIFY(device.sendCommand("data rate 9"));
    QCOMPARE(device.readReply(3000), QByteArray("OK data rate 9\r\n"));
}

void tst_Simulator::saveConfiguration()
{
    Simulator simulator;
    QVERIFY(simulator.start({}));
    Device device;
    QVERIFY(device.open(simulator.devicePath));
    QVERIFY(!device.readLine(3000).isEmpty());

    QVERIFY(device.sendCommand("done"));
    QCOMPARE(device.readReply(3000), QByteArray("Save configuration? (y/n)\r\n"));
    QVERIFY(device.sendCommand("y"));
    QCOMPARE(device.readReply(3000), QByteArray("Configuration saved\r\n"));

    QVERIFY(device.sendCommand("done"));
    QCOMPARE(device.readReply(3000), QByteArray("Save configuration? (y/n)\r\n"));
    QVERIFY(device.sendCommand("n"));
    QCOMPARE(device.readReply(3000), QByteArray("Configuration not saved\r\n"));
}

void tst_Simulator::faultInjection()
{
    Simulator simulator;
    QVERIFY(simulator.start({"--rate", "30", "--lines", "90", "--seed", "1", "--split", "--burst",
                             "2", "--garbage", "--malformed"}));
    Device device;
    QVERIFY(device.open(simulator.devicePath));

    QElapsedTimer timer;
    timer.start();
    while (!device.ended && timer.elapsed() < 10000) {
        pollfd pfd = {device.fd, POLLIN, 0};
        if (poll(&pfd, 1, 500) > 0)
            device.readAvailable();
    }
    QVERIFY(device.ended);

    const QByteArray stream = device.buffer;
    QVERIFY(stream.contains('\0'));
    QVERIFY(device.partialReads > 0);

    int good = 0;
    int malformed = 0;
    for (const QByteArray &piece : stream.split('\n')) {
        const QByteArray line = piece + '\n';
        if (isDataLine(line))
            ++good;
        else if (line.startsWith('$'))
            ++malformed;
    }
    QVERIFY2(good >= 60, qPrintable(QString::number(good)));
    QVERIFY(malformed > 0);
    QVERIFY(simulator.stop());
}

void tst_Simulator::hangupAfter()
{
    Simulator simulator;
    QVERIFY(simulator.start({"--rate", "20", "--hangup-after", "5"}));
    Device device;
    QVERIFY(device.open(simulator.devicePath));

    int lines = 0;
    while (!device.readLine(3000).isEmpty())
        ++lines;
    QVERIFY(device.ended);
    QCOMPARE(lines, 5);

    QVERIFY(simulator.process.waitForFinished(3000));
    QCOMPARE(simulator.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(simulator.process.exitCode(), 0);
}

void tst_Simulator::linkCreatedAndRemoved()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("COM1"));

    Simulator simulator;
    QVERIFY(simulator.start({"--link", link}));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFile::symLinkTarget(link), QString::fromLatin1(simulator.devicePath));

    // The link is as good as the device itself.
    Device device;
    QVERIFY(device.open(QFile::encodeName(link)));
    QVERIFY(isDataLine(device.readLine(3000)));

    QVERIFY(simulator.stop());
    struct stat status;
    QVERIFY(lstat(QFile::encodeName(link).constData(), &status) != 0);
}

void tst_Simulator::linkRefusesExistingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("COM1"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();

    QProcess process;
    process.start(QStringLiteral(INSTRUMENT_SIM), {"--link", path});
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY(process.exitCode() != 0);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QVERIFY(!process.readAllStandardError().isEmpty());

    QVERIFY(!QFileInfo(path).isSymLink());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
}

QTEST_GUILESS_MAIN(tst_Simulator)

#include "tst_simulator.moc"
