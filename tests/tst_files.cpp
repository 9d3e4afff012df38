// The raw recording and the measurement log beside it, on temporary files.

#include "measurementlog.h"
#include "recorder.h"
#include "timetext.h"

#include <QtTest>

#include <ctime>

static QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TestFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void recording_is_byte_exact()
    {
        const QString path = dir.filePath("raw.txt");
        QFile::remove(path);
        const QDateTime start(QDate(2026, 12, 7), QTime(8, 5, 9));
        Recorder recorder;
        QVERIFY(recorder.start(path, start));
        const QByteArray body("$ 1500.0 15.0\r\n\0\xff partial $ 15", 31);
        QVERIFY(recorder.append(body.left(10)));
        QCOMPARE(contents(path), "2026_12_07_08_05_09\r\n" + body.left(10)); // on disk at once
        QVERIFY(recorder.append(body.mid(10)));
        QVERIFY(recorder.stop(start.addSecs(3661)));
        QVERIFY(!recorder.recording());
        QCOMPARE(contents(path), "2026_12_07_08_05_09\r\n" + body + "2026_12_07_09_06_10\r\n");
    }

    void recording_failures()
    {
        Recorder recorder;
        QVERIFY(!recorder.start(dir.filePath("missing/raw.txt"), QDateTime::currentDateTime()));
        QVERIFY(!recorder.recording());
        // A full disk: the start line already fails to reach it, and the file closes.
        QVERIFY(!recorder.start("/dev/full", QDateTime::currentDateTime()));
        QVERIFY(!recorder.recording());
        QVERIFY(!recorder.append("$ 1500.0\r\n"));
    }

    void log_names_data()
    {
        QTest::addColumn<QString>("recording");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("log");
        QTest::newRow("txt") << "survey.txt" << QStringList{} << "survey.csv";
        QTest::newRow("no suffix") << "survey" << QStringList{} << "survey.csv";
        QTest::newRow("two dots") << "day.1.txt" << QStringList{} << "day.1.csv";
        QTest::newRow("csv recording") << "raw.csv" << QStringList{} << "raw.measurements.csv";
        QTest::newRow("taken names") << "a.txt" << QStringList{"a.csv", "a (2).csv"} << "a (3).csv";
    }

    void log_names()
    {
        QFETCH(QString, recording);
        QFETCH(QStringList, existing);
        QFETCH(QString, log);
        QTemporaryDir here;
        for (const QString &name : existing) {
            QFile file(here.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(MeasurementLog::path_for(here.filePath(recording)), here.filePath(log));
        MeasurementLog measurement_log;
        if (!existing.isEmpty()) // never replaces a file
            QVERIFY(!measurement_log.start(here.filePath(existing.at(0)), 0));
    }

    void local_times_say_their_zone_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("text");
        QTest::newRow("east") << QByteArray("Asia/Shanghai") << "2026-12-07 16:00:00 UTC+08:00";
        QTest::newRow("west, half hours")
            << QByteArray("America/St_Johns") << "2026-12-07 04:30:00 UTC-03:30";
        QTest::newRow("UTC") << QByteArray("UTC") << "2026-12-07 08:00:00 UTC+00:00";
    }

    // A local time in the pane never passes for UTC.
    void local_times_say_their_zone()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, text);
        const QByteArray was = qgetenv("TZ");
        qputenv("TZ", zone);
        tzset();
        const QString got = local_time_text(
            QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch());
        if (was.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", was);
        tzset();
        QCOMPARE(got, text);
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
