// tab-shots: the window with a session's worth of readings, four outputs and
// an alarm, every status tab and settings section saved as a PNG, so a change
// to the layout can be looked at without an instrument:
//   QT_QPA_PLATFORM=offscreen build/tools/tab-shots OUTDIR [start options, --lang en,
//   --report LOG --pdf X for the review window of a log]
#include "clock.h"
#include "frmain.h"
#include "interfacelanguage.h"
#include "outputconfig.h"
#include "outputhub.h"
#include "reviewwindow.h"
#include "settingsstore.h"
#include "startup.h"
#include "statustabs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>

#include <cmath>
#include <cstdio>

namespace {

class StepClock : public Clock
{
public:
    qint64 now_ms() const override { return now; }
    qint64 now = 0;
};

void save(QWidget &window, const QString &path)
{
    QApplication::processEvents();
    if (!window.grab().save(path))
        std::fprintf(stderr, "tab-shots: cannot write %s\n", qPrintable(path));
}

// Twenty minutes at 8 lines a second, a few out of range, the last one too.
void feed(frmain &window, StepClock &clock)
{
    clock.now = QDateTime::currentMSecsSinceEpoch() - 20 * 60 * 1000;
    for (int i = 0; i < 20 * 60 * 8; ++i) {
        clock.now += 125;
        const double speed = i % 997 == 0 ? 1700.0 : 1500.0 + 0.4 * std::sin(i / 300.0);
        window.station()->take(QStringLiteral("$ %1 %2\r\n")
                                   .arg(speed, 0, 'f', 3)
                                   .arg(15.0 + 0.2 * std::cos(i / 500.0), 0, 'f', 3)
                                   .toLatin1());
    }
    window.station()->take("$ 1712.345 15.123\r\n");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tab-shots OUTDIR [start options]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    StartOptions options;
    QString error;
    if (!StartOptions::parse(app.arguments().mid(2) << "--defaults", &options, &error)) {
        std::fprintf(stderr, "tab-shots: %s\n", qPrintable(error));
        return 2;
    }
    InterfaceLanguage::install(options.lang.isEmpty() ? InterfaceLanguage::source() : options.lang);
    QFile qss(":/new/prefix1/QSS.qss");
    qss.open(QFile::ReadOnly);
    app.setStyleSheet(QLatin1String(qss.readAll().constData()));

    frmain window;
    SettingsStore store(QStringLiteral("svterminal-shots"), QStringLiteral("shots"));
    prepare_window(window, store, options);
    const char *const outputs[] = {"udp:127.0.0.1:9:sv2", "udp:127.0.0.1:9:sv3", "tcp:5620:svt",
                                   "serial:/dev/null-sonar:115200:json"};
    for (const char *text : outputs) {
        OutputConfig config;
        if (OutputConfig::parse(QString::fromLatin1(text), &config, &error))
            window.station()->outputs()->add(config);
    }
    StepClock clock;
    window.station()->set_clock(&clock);
    window.setFixedSize(800, 650);
    window.show();
    feed(window, clock);

    StatusTabs *tabs = window.status_area();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        save(window, out.filePath(QStringLiteral("tab-%1.png").arg(i)));
        QListWidget *sections = tabs->widget(i)->findChild<QListWidget *>();
        for (int row = 1; sections && row < sections->count(); ++row) {
            sections->setCurrentRow(row);
            save(window, out.filePath(QStringLiteral("tab-%1-%2.png").arg(i).arg(row)));
        }
    }
    window.station()->set_clock(nullptr);
    // --report LOG: the review window of that log too, each of its views.
    if (!options.report_log.isEmpty()) {
        std::unique_ptr<ReviewWindow> review(ReviewWindow::open(options.report_log, nullptr));
        auto *views = review ? review->findChild<QTabWidget *>() : nullptr;
        for (int i = 0; views && i < views->count(); ++i) {
            views->setCurrentIndex(i);
            save(*review, out.filePath(QStringLiteral("review-%1.png").arg(i)));
        }
    }
    return 0;
}
