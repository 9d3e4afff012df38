// The interface in each language the program ships: English shows no
// Chinese anywhere an operator looks, every caption fits its widget at the
// window's fixed size, and what machines read is the same in every language.

#include "interfacelanguage.h"
#include "manualclock.h"
#include "messagebox.h"
#include "mqttconfig.h"
#include "mqttlinkstatus.h"
#include "mqttpublisher.h"
#include "outputconfig.h"
#include "outputhub.h"
#include "reviewwindow.h"
#include "settingsstore.h"
#include "shownwidgets.h"
#include "startup.h"
#include "station.h"
#include "statustabs.h"
#include "testbroker.h"
#include "testsubscriber.h"
#include "windowfixture.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>
#include <QtWidgets>

static const qint64 t0 = QDateTime(QDate(2026, 12, 8), QTime(6, 0), Qt::UTC).toMSecsSinceEpoch();

// Han characters and the full-width punctuation that goes with them.
static bool chinese(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x3000 && u <= 0x303f) || (u >= 0x4e00 && u <= 0x9fff)
            || (u >= 0xff00 && u <= 0xffef))
            return true;
    }
    return false;
}

static QStringList chinese_in(const QStringList &texts)
{
    QStringList found;
    for (const QString &text : texts)
        if (chinese(text) && !found.contains(text))
            found << text;
    return found;
}

// The window as a start without remembered settings makes it, settings tab
// and all, at its fixed size, reading from its port.
static bool start(WindowOnPty &f)
{
    static SettingsStore store(QStringLiteral("svterminal-test"), QStringLiteral("language"));
    StartOptions options;
    QString error;
    StartOptions::parse({"--defaults"}, &options, &error);
    prepare_window(f.window, store, options);
    f.window.setFixedSize(800, 650);
    return f.open();
}

// Every page of the status tabs and of the settings in turn; at each, f.
template<typename F> static void visit_pages(frmain &window, F f)
{
    StatusTabs *tabs = window.status_area();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        f();
        auto *sections = tabs->widget(i)->findChild<QListWidget *>();
        for (int row = 1; sections && row < sections->count(); ++row) {
            sections->setCurrentRow(row);
            QApplication::processEvents();
            f();
        }
    }
}

class TestLanguage : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { InterfaceLanguage::install(InterfaceLanguage::source()); }
    void english_shows_no_chinese();
    void choosing_offers_a_restart();
    void texts_fit_data();
    void texts_fit();
    void machines_read_the_same();
};

void TestLanguage::english_shows_no_chinese()
{
    QVERIFY(InterfaceLanguage::install("en"));
    WindowOnPty f;
    QVERIFY(start(f));
    OutputConfig output;
    QString error;
    QVERIFY(OutputConfig::parse("udp:127.0.0.1:9:sv2", &output, &error));
    f.window.station()->outputs()->add(output);
    QVERIFY(f.record(dir.filePath("walk.txt")));
    QVERIFY(f.feed_line("1500.000") && f.feed_line("1710.000") && f.feed_line("1500.000"));
    QStringList seen;
    // Each page, then what each of its buttons opens: boxes, dialogs, windows.
    visit_pages(f.window, [&] {
        seen << shown_texts(&f.window);
        QWidget *page = f.window.status_area()->currentWidget();
        for (QPushButton *button : page->findChildren<QPushButton *>()) {
            if (!button->isVisible() || !button->isEnabled())
                continue;
            button->click();
            QApplication::processEvents();
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->isVisible())
                    seen << shown_texts(top);
        }
    });
    f.window.open_button->click(); // closed
    for (QPushButton *button :
         {f.window.avg_button, f.window.send_config_button, f.window.save_config_button})
        button->click(); // each says why it cannot
    f.window.port_combobox->setEditText(dir.filePath("no-such-port"));
    f.window.open_button->click(); // a refusal, in a message box
    show_message("x"); // the toolkit's own button
    std::unique_ptr<ReviewWindow> review(ReviewWindow::open(dir.filePath("walk.csv"), nullptr));
    QVERIFY(review);
    review->show();
    QApplication::processEvents();
    for (QWidget *top : QApplication::topLevelWidgets())
        seen << shown_texts(top);
    seen << f.answerer.messages << f.answerer.shown;
    for (const QString &code : InterfaceLanguage::codes())
        seen.removeAll(InterfaceLanguage::name(code)); // each language in its own words
    QVERIFY(f.answerer.button_texts.contains("OK") && !f.answerer.file_dialogs.isEmpty());
    const QStringList left = chinese_in(seen);
    QVERIFY2(left.isEmpty(), qPrintable(left.join('\n')));
}

// Another language applies from the next start, which the window offers.
void TestLanguage::choosing_offers_a_restart()
{
    WindowOnPty f;
    QVERIFY(start(f));
    visit_pages(f.window, [] {});
    auto *choice = f.window.status_area()->findChild<QComboBox *>("language");
    auto *restart = f.window.status_area()->findChild<QPushButton *>("restart");
    QVERIFY(choice && restart && restart->isHidden());
    const int english = choice->findData("en");
    choice->setCurrentIndex(english);
    emit choice->activated(english);
    QCOMPARE(InterfaceLanguage::chosen(), QString("en"));
    QVERIFY(!restart->isHidden() && !InterfaceLanguage::restart_requested());
    restart->click();
    QVERIFY(InterfaceLanguage::restart_requested() && !f.window.isVisible());
}

void TestLanguage::texts_fit_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &code : InterfaceLanguage::codes())
        QTest::newRow(qPrintable(code)) << code;
}

// Labels, buttons, tabs and group box titles whole at the window's size,
// with the program's style sheet, on every page.
void TestLanguage::texts_fit()
{
    QFETCH(QString, language);
    QVERIFY(InterfaceLanguage::install(language));
    QFile qss(":/new/prefix1/QSS.qss");
    qApp->setStyleSheet(qss.open(QFile::ReadOnly) ? QString::fromUtf8(qss.readAll()) : "");
    WindowOnPty f;
    QVERIFY(start(f));
    QVERIFY(f.feed_line("1500.000") && f.feed_line("1710.000")); // an alarm beside the tabs
    QStringList cut;
    visit_pages(f.window, [&] {
        for (const QString &text : cut_texts(&f.window))
            if (!cut.contains(text))
                cut << text;
    });
    qApp->setStyleSheet(QString());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
}

// One session: a reading, one out of range, silence, an unreadable line.
static void session(Station &station, ManualClock &clock)
{
    for (const QByteArray &line :
         {QByteArray("$ 1500.000 15.000\r\n"), QByteArray("$ 1710.000\r\n"),
          QByteArray("$ 1500.100 15.001\r\n")}) {
        clock.advance(200);
        station.take(line);
    }
    clock.advance(3000);
    station.tick();
    clock.advance(100);
    station.take("garbage\r\n$ 1500.000 15.000\r\n");
}

struct Heard
{
    QByteArray log, datagrams, published;
};

static Heard run_session(const QString &folder, quint16 broker_port)
{
    Heard heard;
    QUdpSocket sonar;
    if (!sonar.bind(QHostAddress(QHostAddress::LocalHost), 0))
        return heard;
    QSerialPort port;
    ManualClock clock(t0);
    Station station(&port, nullptr);
    station.set_clock(&clock);
    station.choose_port({QStringLiteral("/dev/ttyUSB7"), 9600});
    for (const char *format : {"sv2", "json"}) {
        OutputConfig output;
        QString error;
        if (OutputConfig::parse(
                QStringLiteral("udp:127.0.0.1:%1:%2").arg(sonar.localPort()).arg(format), &output,
                &error))
            station.outputs()->add(output);
    }
    TestSubscriber watcher(broker_port, QStringLiteral("sv/st1/#"));
    MqttConfig config;
    config.host = QStringLiteral("127.0.0.1");
    config.port = broker_port;
    config.station = QStringLiteral("st1");
    station.publish_to(config);
    if (!QTest::qWaitFor(
            [&] { return station.publisher()->status().state == MqttLinkStatus::State::connected; },
            10000))
        return heard;
    QString log_error;
    station.start_recording(QDir(folder).filePath("raw.txt"), &log_error);
    const QString log = station.acquisition().log().file_name();
    session(station, clock);
    station.stop_recording(true);
    const auto all_in = [&] {
        for (const auto &m : watcher.messages())
            if (m.payload.contains("alarm_off:stale"))
                return true;
        return false;
    };
    if (!QTest::qWaitFor(all_in, 10000)
        || !QTest::qWaitFor([&] { return sonar.hasPendingDatagrams(); }, 5000))
        return heard;
    while (sonar.hasPendingDatagrams())
        heard.datagrams += sonar.receiveDatagram().data();
    // The alarm list is a state: updates in quick succession may be merged.
    QByteArray alarms;
    for (const auto &m : watcher.messages()) {
        if (m.topic.endsWith(QLatin1String("/alarm")))
            alarms = m.payload;
        else
            heard.published += m.topic.toUtf8() + ' ' + m.payload + '\n';
    }
    heard.published += alarms;
    QFile file(log);
    if (file.open(QIODevice::ReadOnly))
        heard.log = file.readAll();
    return heard;
}

// The log, the sentences and the MQTT messages of one session, in each
// language: byte for byte the same.
void TestLanguage::machines_read_the_same()
{
    QList<Heard> runs;
    for (const QString &code : InterfaceLanguage::codes()) {
        QVERIFY(InterfaceLanguage::install(code));
        TestBroker broker;
        QVERIFY(broker.start());
        QVERIFY(QDir(dir.path()).mkpath(code));
        runs << run_session(dir.filePath(code), broker.port());
        QVERIFY2(runs.last().log.contains("alarm_off:stale") && !runs.last().datagrams.isEmpty()
                     && runs.last().published.contains("alarm_off:stale"),
                 qPrintable(code));
    }
    for (const Heard &run : qAsConst(runs)) {
        QCOMPARE(run.log, runs.first().log);
        QCOMPARE(run.datagrams, runs.first().datagrams);
        QCOMPARE(run.published, runs.first().published);
    }
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
