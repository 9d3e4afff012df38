#include "mackenzie.h"

#include <QtTest>

#include <tuple>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// "$ speed temperature\r\n", the temperature optional, both with three decimals.
static const QRegularExpression dataLine("^\\$ (\\d+\\.\\d{3})(?: (-?\\d+\\.\\d{3}))?\\r\\n$");

// 1 or 2 for a measurement line (the groups it fills), 0 for anything else.
static int fields(const QByteArray &line)
{
    return qMax(0, dataLine.match(QString::fromLatin1(line)).lastCapturedIndex());
}

// The simulator as a child process, stopped with SIGTERM like a user would,
// and its device, opened the way the terminal program does.
class Simulator
{
public:
    ~Simulator() { stop(); }

    bool start(const QStringList &arguments)
    {
        process.start(QStringLiteral(INSTRUMENT_SIM), arguments);
        process.waitForReadyRead(5000);
        devicePath = QString::fromLocal8Bit(process.readLine()).trimmed();
        fd = ::open(QFile::encodeName(devicePath), O_RDWR | O_NOCTTY);
        return fd >= 0;
    }

    // True if it exited with status 0, by itself or on SIGTERM.
    bool stop()
    {
        ::close(std::exchange(fd, -1));
        process.terminate();
        process.waitForFinished(5000);
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // One line with its "\n", or empty after 3 s without one or on hang-up.
    QByteArray readLine()
    {
        const QDeadlineTimer deadline(3000);
        ssize_t count = 1; // 0 or less: hung up
        while (!buffer.contains('\n') && !deadline.hasExpired() && count > 0) {
            pollfd pfd = {fd, POLLIN, 0};
            char chunk[4096];
            if (poll(&pfd, 1, 100) > 0 && (count = ::read(fd, chunk, sizeof chunk)) > 0) {
                buffer.append(chunk, int(count));
                partialReads += chunk[count - 1] != '\n';
            }
        }
        const QByteArray line = buffer.left(buffer.indexOf('\n') + 1);
        buffer.remove(0, line.size());
        return line;
    }

    // A character at a time, as the terminal program sends.
    void type(const QByteArray &command)
    {
        for (char c : command + '\r') {
            QCOMPARE(::write(fd, &c, 1), ssize_t(1));
            QThread::msleep(20);
        }
    }

    QProcess process;
    QString devicePath;
    int fd = -1;
    QByteArray buffer;
    int partialReads = 0;
};

class tst_Simulator : public QObject
{
    Q_OBJECT

private slots:
    void mackenzie();
    void lines_data();
    void lines();
    void commands();
    void faultsAndHangup();
    void link();
};

void tst_Simulator::mackenzie()
{
    QVERIFY(qAbs(mackenzie_speed(10.0, 35.0, 0.0) - 1489.80) < 0.01);
    QVERIFY(qAbs(mackenzie_speed(20.0, 35.0, 0.0) - 1521.46) < 0.01);
    // Worked out by hand: every salinity and depth term counts here.
    QVERIFY(qAbs(mackenzie_speed(10.0, 30.0, 800.0) - 1496.7594) < 0.001);
}

void tst_Simulator::lines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<double>("salinity");
    QTest::addColumn<double>("depth");
    QTest::newRow("defaults") << QStringList() << 15.0 << 35.0 << 0.0;
    QTest::newRow("cold, fresher, deep")
        << QStringList({"--temperature=4", "--salinity=30", "--depth=800"}) << 4.0 << 30.0 << 800.0;
}

// Lines at 8 a second, the speed on each matching its temperature.
void tst_Simulator::lines()
{
    QFETCH(QStringList, arguments);
    QFETCH(double, temperature);
    QFETCH(double, salinity);
    QFETCH(double, depth);
    Simulator simulator;
    QVERIFY(simulator.start(arguments));
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 17; ++i) {
        const QByteArray line = simulator.readLine();
        const QList<QByteArray> parts = line.trimmed().split(' '); // "$", speed, temperature
        const double speed = mackenzie_speed(parts.value(2).toDouble(), salinity, depth);
        QVERIFY2(fields(line) == 2 && qAbs(parts[1].toDouble() - speed) <= 0.002, line.constData());
        QVERIFY(qAbs(parts[2].toDouble() - temperature) < 0.1);
    }
    // The first line may come at once, the 17th not before two seconds.
    QVERIFY2(timer.elapsed() >= 1950 && timer.elapsed() < 2700,
             QByteArray::number(timer.elapsed()));
}

// One session: each command gets its reply, and the lines after it show its
// effect. Measurement lines may come before the reply.
void tst_Simulator::commands()
{
    const std::tuple<const char *, const char *, int> steps[] = {
        // command, how its reply starts, fields of the lines after it (0: any)
        {"uart bps 9600", "OK uart bps 9600\r\n", 0},
        {"data rate 31", "ERR ", 0},
        {"data rate 0", "ERR ", 0},
        {"\rdone", "Save configuration? (y/n)\r\n", 0}, // an empty command has no reply
        {"y", "Configuration saved\r\n", 0},
        {"water temp disable", "OK water temp disable\r\n", 1},
        {"water temp enable", "OK water temp enable\r\n", 2},
        {"data rate 20", "OK data rate 20\r\n", 0},
    };
    Simulator simulator;
    QVERIFY(simulator.start({}));
    QElapsedTimer timer;
    for (const auto &[command, reply, count] : steps) {
        simulator.type(command);
        timer.start();
        QByteArray line = simulator.readLine();
        for (int i = 0; i < 60 && fields(line) > 0; ++i)
            line = simulator.readLine();
        QCOMPARE(line.left(qstrlen(reply)), QByteArray(reply));
        for (int i = 0; i < 5 && count > 0; ++i)
            QCOMPARE(fields(simulator.readLine()), count);
    }
    // Twenty lines at the new rate take a second from the command.
    for (int i = 0; i < 20; ++i)
        QVERIFY(fields(simulator.readLine()) > 0);
    QVERIFY2(timer.elapsed() >= 950 && timer.elapsed() < 1600, QByteArray::number(timer.elapsed()));
}

// Split writes, bursts, garbage with NULs and malformed lines: a stream that
// still carries mostly good lines, and ends after exactly the lines asked for.
void tst_Simulator::faultsAndHangup()
{
    Simulator simulator;
    QVERIFY(simulator.start({"--rate", "30", "--hangup-after", "90", "--seed", "1", "--split",
                             "--burst", "2", "--garbage", "--malformed"}));
    QByteArray stream;
    int good = 0;
    int malformed = 0;
    for (int i = 0; i < 200; ++i) { // after the hang-up every read is empty at once
        const QByteArray line = simulator.readLine();
        stream += line;
        good += fields(line) > 0;
        malformed += fields(line) == 0 && line.startsWith('$');
    }
    QCOMPARE(stream.count('$'), 90); // garbage holds no "$"
    QVERIFY(stream.contains('\0') && simulator.partialReads > 0);
    QVERIFY2(good >= 60 && malformed > 0, QByteArray::number(good));
    QVERIFY(simulator.process.waitForFinished(3000) && simulator.stop());
}

// The link leads to the device, goes on exit, and never replaces a file.
void tst_Simulator::link()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("COM1"));
    Simulator simulator;
    QVERIFY(simulator.start({"--link", link}));
    QCOMPARE(QFile::symLinkTarget(link), simulator.devicePath);
    QVERIFY(simulator.stop() && !QFileInfo(link).isSymLink());

    QFile file(link);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("keep me") == 7 && file.flush());
    Simulator refused;
    QVERIFY(!refused.start({"--link", link}) && refused.process.exitCode() != 0);
    QVERIFY(!QFileInfo(link).isSymLink() && QFileInfo(link).size() == 7);
}

QTEST_GUILESS_MAIN(tst_Simulator)

#include "tst_simulator.moc"
