// A long recording against the simulator with garbage and malformed lines:
// the measurement log must hold exactly one row per valid line sent, with
// times that never go backwards.
#include "windowfixture.h"

#include <QApplication>
#include <QDateTime>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString lines = argc > 1 ? argv[1] : "1000000";
    QTemporaryDir dir;
    QProcess sim;
    sim.start(INSTRUMENT_SIM,
              {"--rate", "5000", "--garbage", "--malformed", "--lines", lines, "--link",
               dir.filePath("instrument")});
    WindowOnPty w;
    if (!sim.waitForReadyRead(5000) || !w.open(dir.filePath("instrument"))) {
        std::printf("bench_csv_soak: could not open the simulator's port\n");
        return 1;
    }
    w.answerer.answer_file_dialog(dir.filePath("soak.txt"));
    QTest::mouseClick(w.window.save_data_button, Qt::LeftButton);
    sim.readLine(); // its device path
    if (!QTest::qWaitFor([&] { return sim.state() == QProcess::NotRunning; }, 3600 * 1000))
        return 1;
    QTest::qWait(500);
    QTest::mouseClick(w.window.save_data_button, Qt::LeftButton);
    const QString report = QString::fromLocal8Bit(sim.readAllStandardOutput()).trimmed();
    const qint64 valid = QRegularExpression("(\\d+) valid").match(report).captured(1).toLongLong();

    QFile log(dir.filePath("soak.csv"));
    log.open(QIODevice::ReadOnly);
    log.readLine();
    qint64 rows = 0, events = 0, backwards = 0;
    QByteArray last;
    while (!log.atEnd()) {
        const QByteArray row = log.readLine();
        const QByteArray time = row.left(row.indexOf(','));
        backwards += time < last;
        last = time;
        (row.split(',').value(5).isEmpty() ? rows : events)++;
    }
    std::printf("bench_csv_soak: simulator \"%s\"\n  CSV rows %lld, valid lines sent %lld, "
                "event rows %lld, times going backwards %lld: %s\n",
                qPrintable(report), rows, valid, events, backwards,
                rows == valid && backwards == 0 ? "ok" : "MISMATCH");
    return rows == valid && backwards == 0 ? 0 : 1;
}
