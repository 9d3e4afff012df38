#include "soundspeed.h"

#include <QtTest>
#include <cmath>

using Eq = SoundEquation;
struct Case
{
    Eq eq;
    double s, t, level, want; // level: bar (UNESCO, Del Grosso check values), else metres
};
Q_DECLARE_METATYPE(Case)

class tst_SoundSpeed : public QObject
{
    Q_OBJECT

private slots:
    void check_values_data()
    {
        QTest::addColumn<Case>("c");
        // Wong and Zhu (1995), J. Acoust. Soc. Am. 97(3) 1732, Tables III and IV (ITS-90).
        QTest::newRow("unesco warm surface") << Case{Eq::unesco, 40, 40, 0, 1568.141};
        QTest::newRow("unesco 1000 bar") << Case{Eq::unesco, 25, 40, 1000, 1719.171};
        QTest::newRow("del grosso surface") << Case{Eq::del_grosso, 30, 40, 0, 1558.221};
        QTest::newRow("del grosso 900 bar") << Case{Eq::del_grosso, 35, 40, 900, 1704.948};
        // Mackenzie (1981), the paper's check value; MBARI's Sndspd (after WHOI, 1991).
        QTest::newRow("mackenzie 1000 m") << Case{Eq::mackenzie, 35, 25, 1000, 1550.744};
        QTest::newRow("mackenzie 10000 m") << Case{Eq::mackenzie, 40, 40, 10000, 1718.774};
    }
    void check_values()
    {
        QFETCH(Case, c);
        // Saunders (1981) states depth from pressure, z = (1 - c1) p - c2 p^2 (dbar), at 45 deg.
        const double p = c.level * 10;
        const double depth = c.eq == Eq::mackenzie ? c.level : (1 - 8.545e-3) * p - 2.21e-6 * p * p;
        const double speed = sound_speed(c.eq, c.s, c.t, depth);
        QVERIFY2(std::abs(speed - c.want) < 0.001, qPrintable(QString::number(speed, 'f', 4)));
    }
    void pressure_check_value()
    {
        // Saunders (1981) as coded by Millard for UNESCO (1983): 7321.45 m at 30 deg.
        QVERIFY(std::abs(pressure_from_depth(7321.45, 30) - 7500.004) < 0.01);
    }
    void implied_data()
    {
        QTest::addColumn<Case>("c"); // want: the salinity found from the speed at s
        QTest::newRow("unesco fresh") << Case{Eq::unesco, 0, 5, 5000, 0};
        QTest::newRow("unesco 50 PSU") << Case{Eq::unesco, 50, 38, 0, 50};
        QTest::newRow("del grosso past its turn") << Case{Eq::del_grosso, 38, 30, 9000, 38};
        QTest::newRow("mackenzie") << Case{Eq::mackenzie, 35.123, 15, 7000, 35.123};
        QTest::newRow("below 0 PSU") << Case{Eq::del_grosso, -0.01, 10, 0, NAN};
        QTest::newRow("above 50 PSU") << Case{Eq::mackenzie, 50.01, 10, 0, NAN};
        QTest::newRow("no temperature") << Case{Eq::unesco, 35, NAN, 0, NAN};
    }
    void implied()
    {
        QFETCH(Case, c);
        const double found
            = implied_salinity(c.eq, sound_speed(c.eq, c.s, c.t, c.level), c.t, c.level);
        QVERIFY2(std::isnan(c.want) ? std::isnan(found) : std::abs(found - c.want) < 0.001,
                 qPrintable(QString::number(found, 'f', 6)));
    }
    void validity_data()
    {
        QTest::addColumn<Case>("c"); // want: 1 inside, 0 outside
        // At 45 deg 1000 bar lies near 9694 m and 1000 kg/cm^2 near 9510 m.
        QTest::newRow("unesco corner") << Case{Eq::unesco, 40, 40, 9690, 1};
        QTest::newRow("unesco too deep") << Case{Eq::unesco, 35, 10, 9700, 0};
        QTest::newRow("unesco too warm") << Case{Eq::unesco, 35, 40.01, 0, 0};
        QTest::newRow("del grosso corner") << Case{Eq::del_grosso, 30, 30, 9500, 1};
        QTest::newRow("del grosso too fresh") << Case{Eq::del_grosso, 29.99, 0, 0, 0};
        QTest::newRow("del grosso too deep") << Case{Eq::del_grosso, 40, 0, 9520, 0};
        QTest::newRow("mackenzie corner") << Case{Eq::mackenzie, 25, -2, 8000, 1};
        QTest::newRow("mackenzie too deep") << Case{Eq::mackenzie, 35, 10, 8000.5, 0};
        QTest::newRow("not a number") << Case{Eq::unesco, NAN, 10, 0, 0};
    }
    void validity()
    {
        QFETCH(Case, c);
        QCOMPARE(within_validity(c.eq, c.s, c.t, c.level), c.want == 1);
    }
};

QTEST_APPLESS_MAIN(tst_SoundSpeed)
#include "tst_soundspeed.moc"
