#include "navdecoder.h"
#include "nmeasentence.h"

#include <QtTest>

static const QByteArray gga
    = NmeaSentence::framed("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,")
    + "\r\n";
static const QByteArray void_rmc = NmeaSentence::framed("GPRMC,123520,V,,,,,,,230394,,,N") + "\r\n";

struct Measured
{
    qint64 arrival_ms, gnss_ms;
};
Q_DECLARE_METATYPE(QVector<Measured>)

class tst_NavState : public QObject
{
    Q_OBJECT

private slots:
    void freshness_data()
    {
        QTest::addColumn<qint64>("fresh_ms");
        QTest::addColumn<qint64>("age_ms"); // of the fix when the reading is taken
        QTest::addColumn<bool>("tagged");
        QTest::newRow("on arrival") << qint64(2000) << qint64(0) << true;
        QTest::newRow("at the edge") << qint64(2000) << qint64(2000) << true;
        QTest::newRow("just past the edge") << qint64(2000) << qint64(2001) << false;
        QTest::newRow("before the fix") << qint64(2000) << qint64(-1) << false;
        QTest::newRow("set to 500 ms, at the edge") << qint64(500) << qint64(500) << true;
        QTest::newRow("set to 500 ms, past it") << qint64(500) << qint64(501) << false;
    }

    // A fix is fresh from its arrival to fresh_ms after it, both included.
    void freshness()
    {
        QFETCH(qint64, fresh_ms);
        QFETCH(qint64, age_ms);
        QFETCH(bool, tagged);
        NavDecoder decoder;
        decoder.state().set_fresh_ms(fresh_ms);
        decoder.feed(gga, 100000);
        const auto tag = decoder.state().tag(100000 + age_ms);
        QCOMPARE(bool(tag), tagged);
        if (tag) {
            QCOMPARE(tag->latitude.text, QStringLiteral("48.1173000"));
            QCOMPARE(tag->age_ms, age_ms);
        }
    }

    // A void fix ends the position at once; course and speed stay.
    void void_fix_ends_the_position()
    {
        NavDecoder decoder;
        decoder.feed(gga, 0);
        decoder.feed(NmeaSentence::framed("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A") + "\r\n", 0);
        QVERIFY(decoder.state().tag(100));
        QVERIFY(decoder.feed(void_rmc, 200).fix_lost);
        QVERIFY(!decoder.state().tag(200));
        QCOMPARE(decoder.state().course_speed()->course_deg, 54.7);
        QVERIFY(decoder.state().course_fresh(2000) && !decoder.state().course_fresh(2001));
    }

    void offset_data()
    {
        QTest::addColumn<QVector<Measured>>("measured");
        QTest::addColumn<qint64>("now_ms");
        QTest::addColumn<qint64>("in_force"); // ms; a value of 1 means none
        QTest::addColumn<double>("limit_s");
        QTest::addColumn<bool>("exceeded");
        const qint64 t = 1700000000000;
        QTest::newRow("PC ahead 5 s")
            << QVector<Measured>{{t, t - 5000}} << t << qint64(5000) << 1.0 << true;
        QTest::newRow("PC behind 5 s")
            << QVector<Measured>{{t, t + 5000}} << t << qint64(-5000) << 1.0 << true;
        QTest::newRow("0.5 s") << QVector<Measured>{{t, t - 500}} << t << qint64(500) << 1.0
                               << false;
        QTest::newRow("exactly the limit")
            << QVector<Measured>{{t, t - 1000}} << t << qint64(1000) << 1.0 << false;
        QTest::newRow("5 s under a 10 s limit")
            << QVector<Measured>{{t, t - 5000}} << t << qint64(5000) << 10.0 << false;
        QTest::newRow("one late sentence") << QVector<Measured>{{t, t - 200},
                                                                {t + 1000, t + 1000 - 210},
                                                                {t + 2000, t + 2000 - 3000}}
                                           << t + 2000 << qint64(210) << 1.0 << false;
        QTest::newRow("older ones left out") << QVector<Measured>{{t, t - 5000},
                                                                  {t + 1000, t + 1000 - 5000},
                                                                  {t + 20000, t + 20000 - 300}}
                                             << t + 20000 << qint64(300) << 1.0 << false;
        QTest::newRow("lapsed after a minute")
            << QVector<Measured>{{t, t - 5000}} << t + 60001 << qint64(1) << 1.0 << false;
        QTest::newRow("still in force at a minute")
            << QVector<Measured>{{t, t - 5000}} << t + 60000 << qint64(5000) << 1.0 << true;
        QTest::newRow("none measured") << QVector<Measured>{} << t << qint64(1) << 1.0 << false;
    }

    void offset()
    {
        QFETCH(QVector<Measured>, measured);
        QFETCH(qint64, now_ms);
        QFETCH(qint64, in_force);
        QFETCH(double, limit_s);
        QFETCH(bool, exceeded);
        ClockOffset offset;
        for (const Measured &m : measured)
            offset.measure(m.arrival_ms, m.gnss_ms);
        QCOMPARE(offset.in_force_ms(now_ms).value_or(1), in_force);
        QCOMPARE(offset.exceeds(limit_s, now_ms), exceeded);
    }

    void offset_history_is_bounded_data()
    {
        QTest::addColumn<qint64>("step_ms");
        QTest::addColumn<qint64>("kept_ms"); // at least
        QTest::newRow("twice a second: the last hour or so") << qint64(500) << qint64(3600000);
        QTest::newRow("20 a second: as many as it holds") << qint64(50) << qint64(1620000);
    }

    // Two hours of measurements: the history keeps the newest, oldest first,
    // within its bounds.
    void offset_history_is_bounded()
    {
        QFETCH(qint64, step_ms);
        QFETCH(qint64, kept_ms);
        ClockOffset offset;
        const qint64 end = 2 * ClockOffset::history_span_ms;
        for (qint64 t = 0; t < end; t += step_ms)
            offset.measure(t, t - t / 1000);
        const auto &history = offset.history();
        const qint64 kept = history.last().arrival_ms - history.first().arrival_ms;
        QVERIFY(history.size() <= ClockOffset::history_capacity);
        QCOMPARE(history.last().offset_ms, (end - step_ms) / 1000);
        QVERIFY2(kept >= kept_ms && kept <= ClockOffset::history_span_ms * 102 / 100,
                 QByteArray::number(kept));
    }
};

QTEST_GUILESS_MAIN(tst_NavState)

#include "tst_nav_state.moc"
