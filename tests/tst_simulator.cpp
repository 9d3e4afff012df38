#include "measurementstream.h"
#include "soundspeed.h"

#include <QtTest>

#include <memory>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// As sent when nothing is wrong: "$ speed temperature\r\n", the temperature optional.
static const QRegularExpression exact("^\\$ (\\d+\\.\\d{3})(?: (-?\\d+\\.\\d{3}))?\\r\\n$");
// What the terminal takes as a measurement, from the last "$" of a line on.
static const QString number = "[+-]?(?:\\d+\\.?\\d*|\\.\\d+)";
static const QRegularExpression taken("^\\$[^\\d+.-]?" + number + "(?: " + number + ")?\\r\\n$");

// Every run links its device at the same path, so each shows that the link
// is made, goes on exit, and can be made again by the next run.
static QTemporaryDir dir;
static const QString link_path = dir.filePath(QStringLiteral("COM1"));

// The simulator as a child process, its device opened as the terminal does.
struct Simulator
{
    ~Simulator() { stop(); }
    bool start(const QString &arguments, bool with_host = true)
    {
        process.start(INSTRUMENT_SIM, arguments.split(' ', Qt::SkipEmptyParts) << "--link" << link);
        process.waitForReadyRead(5000);
        path = QString::fromLocal8Bit(process.readLine()).trimmed();
        fd = with_host ? ::open(QFile::encodeName(path), O_RDWR | O_NOCTTY) : -1;
        return !path.isEmpty() && QFile::symLinkTarget(link) == path && (fd >= 0 || !with_host);
    }
    // Stops it with SIGTERM as a user would: the count line it printed, if it
    // exited with 0 and took its link away.
    QByteArray stop()
    {
        ::close(std::exchange(fd, -1));
        process.terminate();
        process.waitForFinished(5000);
        const bool clean = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        return clean && QFile::symLinkTarget(link).isEmpty() ? process.readAllStandardOutput()
                                                             : QByteArray();
    }
    // Everything until it hangs up, in the pieces reads return.
    QByteArrayList read_to_end()
    {
        QByteArrayList chunks{buffer};
        pollfd pfd = {fd, POLLIN, 0};
        char chunk[4096];
        for (ssize_t n = 1; n > 0 && poll(&pfd, 1, 5000) > 0;) {
            if ((n = ::read(fd, chunk, sizeof chunk)) > 0)
                chunks << QByteArray(chunk, int(n));
        }
        return chunks;
    }
    // One line with its "\n"; empty after 3 s of silence or on hang-up.
    QByteArray read_line()
    {
        pollfd pfd = {fd, POLLIN, 0};
        char chunk[4096];
        for (ssize_t n = 1; !buffer.contains('\n') && n > 0 && poll(&pfd, 1, 3000) > 0;) {
            if ((n = ::read(fd, chunk, sizeof chunk)) > 0)
                partial_reads += !buffer.append(chunk, int(n)).endsWith('\n');
        }
        const QByteArray line = buffer.left(buffer.indexOf('\n') + 1);
        buffer.remove(0, line.size());
        return line;
    }
    QString link = link_path;
    QProcess process;
    QString path;
    int fd = -1;
    QByteArray buffer;
    int partial_reads = 0;
};

static QByteArray sent(int valid, int malformed)
{
    return QString::asprintf("sent %d lines: %d valid, %d malformed\n", valid + malformed, valid,
                             malformed)
        .toLatin1();
}

struct Case
{
    QString arguments;
    QByteArray typed, replies; // typed a character at a time; how the replies start
    int rate, count; // lines a second and fields on each, after the replies
};
Q_DECLARE_METATYPE(Case)

class tst_Simulator : public QObject
{
    Q_OBJECT

private slots:
    void session_data()
    {
        QTest::addColumn<Case>("c");
        QTest::newRow("defaults") << Case{"", "", "", 8, 2};
        QTest::newRow("benchmark") << Case{"--rate 3000", "", "", 3000, 2};
        QTest::newRow("uart bps") << Case{"", "uart bps 9600\r", "OK uart bps 9600\r\n", 8, 2};
        QTest::newRow("data rate") << Case{"", "data rate 2\r", "OK data rate 2\r\n", 2, 2};
        QTest::newRow("data rate too high") << Case{"", "data rate 31\r", "ERR ", 8, 2};
        QTest::newRow("no temperature")
            << Case{"", "water temp disable\r", "OK water temp disable\r\n", 8, 1};
        QTest::newRow("save, after an empty command with no reply") << Case{
            "", "\rdone\ry\r", "Save configuration? (y/n)\r\nConfiguration saved\r\n", 8, 2};
    }

    // The replies to what was typed, measurement lines before them left out;
    // then half a second of lines at the rate expected, all counted as sent
    // and valid. Lines never come before they are due, counted from the
    // opening or from the command that set the rate, however loaded the
    // machine: twice the rate (or a new rate ignored) comes too soon.
    void session()
    {
        QFETCH(Case, c);
        const auto fields = [](const QByteArray &line) { // of an exact line
            return exact.match(QString::fromLatin1(line)).lastCapturedIndex();
        };
        Simulator simulator;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(simulator.start(c.arguments));
        for (char ch : c.typed) {
            timer.start();
            QVERIFY(::write(simulator.fd, &ch, 1) == 1 && (QThread::msleep(20), true));
        }
        QByteArray replies;
        for (int i = 0; i < 60 && replies.size() < c.replies.size(); ++i) {
            const QByteArray line = simulator.read_line();
            replies += fields(line) > 0 ? QByteArray() : line;
        }
        QCOMPARE(replies.left(c.replies.size()), c.replies);
        const bool timed = c.typed.isEmpty() || c.rate != 8;
        const int lines = timed ? c.rate / 2 : 0;
        for (int i = 0; i <= lines; ++i) {
            const QByteArray line = simulator.read_line();
            QVERIFY2(fields(line) == c.count, line.data());
            QVERIFY2(timer.elapsed() < 20000, "far too slow for the rate"); // a rate ignored
        }
        QVERIFY2(timer.elapsed() >= lines * 1000 / c.rate, QByteArray::number(timer.elapsed()));
        const QByteArray report = simulator.stop(); // on SIGTERM
        const int count = report.split(' ').value(1).toInt(); // "sent N lines: ..."
        QVERIFY2(count > lines && report == sent(count, 0), report.data());
    }

    // Split writes, bursts, garbage with NULs and malformed lines: the count
    // it reports is what a reader of the device takes as measurements.
    void faults()
    {
        Simulator simulator;
        QVERIFY(simulator.start("--rate=500 --hangup-after=300 --seed=1 --split --burst=2 "
                                "--garbage --malformed"));
        QByteArray stream;
        int valid = 0;
        QByteArray line;
        for (int i = 0; i < 400 && !(line = simulator.read_line()).isEmpty(); ++i, stream += line)
            valid += taken.match(QString::fromLatin1(line.mid(line.lastIndexOf('$')))).hasMatch();
        const int malformed = stream.count('$') - valid; // garbage holds no "$"
        QVERIFY(stream.contains('\0') && simulator.partial_reads > 0);
        QVERIFY2(malformed > 0 && valid >= 250, QByteArray::number(valid));
        QVERIFY(simulator.process.waitForFinished(3000));
        QCOMPARE(simulator.stop(), sent(valid, malformed));
        QCOMPARE(valid + malformed, 300);
    }

    // Each format end to end, with every fault or none, all at once: the
    // stream reading the port counts what the simulator says it sent;
    // without faults the values are the water's (about 10 degC at 10 m: the
    // speed is the one for the temperature on the line). Recognised within
    // the first lines, then read alike.
    void formats()
    {
        std::vector<std::unique_ptr<Simulator>> runs;
        for (int i = 0; i < 2 * format_count; ++i) {
            runs.push_back(std::make_unique<Simulator>());
            runs.back()->link = dir.filePath(QStringLiteral("COM%1").arg(10 + i));
            const QString options = i % 2 ? " --split --garbage --malformed --bad-checksum --cut "
                                            "--start-mid-line --line-end lf"
                                          : "";
            QVERIFY(runs.back()->start(QStringLiteral("--format ") + format_name(FormatId(i / 2))
                                       + " --rate 1000 --lines 60 --seed 3 --temperature 10"
                                         " --depth 10"
                                       + options));
        }
        // Read side by side: a simulator that hangs up takes what was not
        // read with it.
        std::vector<QByteArrayList> chunks(runs.size());
        std::vector<pollfd> fds;
        for (const auto &run : runs)
            fds.push_back({run->fd, POLLIN, 0});
        for (int open = int(fds.size()); open > 0 && poll(fds.data(), fds.size(), 5000) > 0;) {
            for (size_t i = 0; i < fds.size(); ++i) {
                char chunk[4096];
                const ssize_t n = fds[i].revents ? ::read(fds[i].fd, chunk, sizeof chunk) : 1;
                if (n > 0 && fds[i].revents)
                    chunks[i] << QByteArray(chunk, int(n));
                if (n <= 0) {
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
        for (int i = 0; i < 2 * format_count; ++i)
            read_format(*runs[size_t(i)], chunks[size_t(i)], FormatId(i / 2), i % 2);
    }

    void read_format(Simulator &simulator, const QByteArrayList &chunks, FormatId format,
                     bool faults)
    {
        const QByteArray name = QByteArray(format_name(format)) + (faults ? " with faults" : "");
        MeasurementStream fixed, automatic;
        fixed.set_input_format(InputFormat::fixed(format));
        automatic.set_input_format(InputFormat());
        QStringList read, recognised;
        const double slowest = mackenzie_speed(9, 35, 10), fastest = mackenzie_speed(11, 35, 10);
        for (const QByteArray &chunk : chunks) {
            for (const Reading &r : fixed.feed(chunk)) {
                if (!r.valid)
                    continue;
                read << r.speed_text;
                const double expected = r.has_temperature
                    ? mackenzie_speed(r.temperature, 35, qIsNaN(r.depth_m) ? 10 : r.depth_m)
                    : qBound(slowest, r.speed, fastest);
                QVERIFY2(faults || qAbs(r.speed - expected) < 0.06, name + ": " + r.line.toUtf8());
                QVERIFY2(faults || qIsNaN(r.depth_m) || qAbs(r.depth_m - 10) < 0.001, name);
                QVERIFY2(faults || qIsNaN(r.pressure_dbar) || qAbs(r.pressure_dbar - 10) < 0.001,
                         name);
            }
            for (const Reading &r : automatic.feed(chunk)) {
                if (r.valid)
                    recognised << r.speed_text;
            }
        }
        const int malformed = int(fixed.malformed_count() + fixed.checksum_count());
        QCOMPARE(simulator.stop(), sent(read.size(), malformed));
        QVERIFY2((malformed > 0) == faults && read.size() >= 40,
                 name + ": " + read.join(' ').toUtf8());
        const bool sentences = format == FormatId::psgds || format == FormatId::pssv;
        QVERIFY2((fixed.checksum_count() > 0) == (faults && sentences), name);
        QVERIFY2(automatic.format() == std::optional<FormatId>(format), name);
        QVERIFY2(recognised.size() >= read.size() - 10, name);
        QVERIFY2(recognised == read.mid(read.size() - recognised.size()), name);
    }

    // With no host the count is still reported; a link never replaces a file.
    void without_host()
    {
        Simulator idle;
        QVERIFY(idle.start("", false));
        QCOMPARE(idle.stop(), sent(0, 0));
        QFile file(link_path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("keep me") == 7 && file.flush());
        Simulator refused;
        QVERIFY(!refused.start("", false) && refused.process.exitCode() != 0);
        QVERIFY(QFile::symLinkTarget(link_path).isEmpty() && file.size() == 7);
    }
};

QTEST_GUILESS_MAIN(tst_Simulator)

#include "tst_simulator.moc"
