// The outputs tab: outputs added, refused, switched and removed through its
// fields, the list kept up to date while it is seen, and the quality limits
// set in the settings tab.

#include "outputhub.h"
#include "outputspanel.h"
#include "qualitysection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

struct Shown
{
    OutputHub hub;
    QualityCheck quality;
    OutputsPanel panel{&hub, &quality};
    QSignalSpy changes{&panel, &OutputsPanel::changed};
    Shown() { panel.show(); }
    template<typename T = QLineEdit> T *find(const char *name)
    {
        return panel.findChild<T *>(name);
    }
    void choose(const char *combo, int data)
    {
        find<QComboBox>(combo)->setCurrentIndex(find<QComboBox>(combo)->findData(data));
    }
    void click(const char *name) { find<QPushButton>(name)->click(); }
    bool message_shown() { return !find<QLabel>("message")->text().isEmpty(); }
    QTableWidget *table() { return find<QTableWidget>("outputs"); }
    void add_udp()
    {
        OutputConfig config;
        config.host = "127.0.0.1";
        config.port = 40123;
        hub.add(config);
        panel.refresh();
    }
};

class TestOutputsPanel : public QObject
{
    Q_OBJECT

private slots:
    void add_switch_and_remove()
    {
        Shown s;
        s.choose("kind", OutputConfig::udp);
        s.find("host")->setText("127.0.0.1");
        s.find("port")->setText("40123");
        s.choose("gate", OutputGate::every_valid);
        s.find<QCheckBox>("hold")->setChecked(true);
        s.click("add");
        QCOMPARE(s.hub.count(), 1);
        QCOMPARE(s.hub.config(0).to_text(), QString("udp:127.0.0.1:40123:sv2"));
        QVERIFY(s.hub.config(0).gate == OutputGate::every_valid && s.hub.config(0).hold);

        // The list follows what the hub sends while it is seen.
        const Reading reading = MeasurementStream::parse(" 1489.805 10.0449");
        s.hub.take({reading, Quality::range, QString(), 1000});
        QTRY_COMPARE_WITH_TIMEOUT(s.table()->item(0, 7)->text(), QString("1489.81"), 2000);
        QCOMPARE(s.table()->item(0, 4)->text(), QString("1"));

        // Removing it while it sends asks first: no keeps it.
        int boxes = 0;
        QTimer answering;
        answering.callOnTimeout([&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->button(QMessageBox::No)->click(), ++boxes;
        });
        answering.start(5);
        s.click("remove");
        QVERIFY(boxes == 1 && s.hub.count() == 1);

        s.table()->item(0, 0)->setCheckState(Qt::Unchecked);
        QVERIFY(!s.hub.config(0).enabled);
        s.find("host")->clear(); // choosing the row brings its entries back
        s.table()->clearSelection();
        s.table()->selectRow(0);
        s.choose("format", int(SentenceFormat::json));
        s.click("change");
        QCOMPARE(s.hub.config(0).to_text(), QString("udp:127.0.0.1:40123:json"));
        QVERIFY(!s.hub.config(0).enabled);
        s.click("remove"); // switched off: not asked
        QVERIFY(boxes == 1 && s.hub.count() == 0);
        QCOMPARE(s.changes.count(), 4);
        QVERIFY(!s.message_shown());
    }

    void hidden_list_rests()
    {
        Shown s;
        s.panel.hide();
        s.add_udp();
        QTest::qWait(3 * OutputsPanel::refresh_ms);
        QCOMPARE(s.table()->rowCount(), 0);
        s.panel.show();
        QCOMPARE(s.table()->rowCount(), 1);
    }

    void refused_entry_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        // clang-format off
        QTest::newRow("port 0") << int(OutputConfig::udp) << "127.0.0.1" << "0";
        QTest::newRow("port 65536") << int(OutputConfig::tcp) << "" << "65536";
        QTest::newRow("port text") << int(OutputConfig::tcp) << "" << "80a";
        QTest::newRow("no host") << int(OutputConfig::udp) << " " << "5000";
        QTest::newRow("no serial port") << int(OutputConfig::serial) << "" << "";
        // clang-format on
    }
    void refused_entry()
    {
        QFETCH(int, kind);
        QFETCH(QString, host);
        QFETCH(QString, port);
        Shown s;
        s.add_udp();
        s.table()->selectRow(0);
        const QVector<OutputConfig> before = s.hub.configs();
        s.choose("kind", kind);
        s.find("host")->setText(host);
        s.find("port")->setText(port);
        s.find("serial_name")->setText(" ");
        s.click("change");
        s.click("add");
        QVERIFY(s.hub.configs() == before);
        QVERIFY(s.message_shown());
        QCOMPARE(s.changes.count(), 0);
    }

    void limits_data()
    {
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<QString>("spike");
        QTest::addColumn<bool>("taken");
        // clang-format off
        QTest::newRow("applied") << "1450.5" << " 1550" << "3" << true;
        QTest::newRow("fine threshold") << "1400" << "1600.0" << "0.5" << true;
        QTest::newRow("not a number") << "14x0" << "1550" << "3" << false;
        QTest::newRow("minimum above maximum") << "1551" << "1550" << "3" << false;
        QTest::newRow("negative threshold") << "1450" << "1550" << "-1" << false;
        QTest::newRow("empty threshold") << "1450" << "1550" << "" << false;
        // clang-format on
    }
    void limits()
    {
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(QString, spike);
        QFETCH(bool, taken);
        Shown s;
        QualitySection section(&s.quality);
        QSignalSpy said(&section, &SettingsSection::said);
        section.findChild<QLineEdit *>("range_low")->setText(low);
        section.findChild<QLineEdit *>("range_high")->setText(high);
        section.findChild<QLineEdit *>("spike_threshold")->setText(spike);
        section.findChild<QPushButton *>("apply_limits")->click();
        QCOMPARE(s.quality.range_low(), taken ? low.toDouble() : 1400);
        QCOMPARE(s.quality.range_high(), taken ? high.toDouble() : 1600);
        QCOMPARE(s.quality.spike(), taken ? spike.toDouble() : 2);
        // The check judges by the threshold in force: 1 m/s off the median.
        for (int i = 0; i < QualityCheck::least; ++i)
            s.quality.judge(1500.0);
        QCOMPARE(s.quality.judge(1501.0) == Quality::spike, taken && spike.toDouble() < 1);
        // Said once: what is in force now, or what is wrong.
        QVERIFY(said.count() == 1 && said[0][1].toBool() == !taken);
        QCOMPARE(said[0][0].toString().contains(limits_text(s.quality)), taken);
    }
};

QTEST_MAIN(TestOutputsPanel)
#include "tst_outputspanel.moc"
