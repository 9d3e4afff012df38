#include "frmain.h"
#include "interfacelanguage.h"
#include "reportcommand.h"
#include "settingsstore.h"
#include "signalwatch.h"
#include "startup.h"
#include "trackcommand.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

#ifdef __GLIBC__
#include <malloc.h>
#endif

// The artwork is far larger than any icon a desktop shows, and on X11 a window
// icon of that size is more than the server takes in one request: it breaks
// the connection and ends the program. Offer it at the usual icon sizes.
static QIcon window_icon(const QString &path)
{
    const QImage artwork(path);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(
            artwork.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    return icon;
}

// Qt cannot go on without a display: one line says so instead of Qt's abort.
static void no_display(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    static QString reason;
    if (type != QtFatalMsg) {
        if (reason.isEmpty() && text.contains(QLatin1String("display")))
            reason = text;
        return;
    }
    std::fprintf(stderr, "svterminal: no display (%s); set DISPLAY, or use --report\n",
                 qPrintable(reason.isEmpty() ? text.section(QLatin1Char('.'), 0, 0) : reason));
    std::_Exit(2);
}

static bool display_named()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
#else
    return true;
#endif
}

// What is decided before Qt starts: the options, --help and --version, and
// whether there is a display to start on. -1 to go on, else the exit code.
static int before_start(int argc, char *argv[], StartOptions *options)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    if (!StartOptions::parse(arguments, options, &error)) {
        std::fprintf(stderr, "svterminal: %s\n%s", qPrintable(error),
                     qPrintable(StartOptions::usage()));
        return 2;
    }
    if (options->help || options->version) {
        std::fputs(options->help ? qPrintable(StartOptions::usage())
                                 : "svterminal " SVT_VERSION "\n",
                   stdout);
        return 0;
    }
    // A batch report draws only into the PDF, a track export draws nothing:
    // neither needs a display.
    if (options->batch())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (!display_named()) {
        std::fputs("svterminal: no display: set DISPLAY (or use --report for a report)\n", stderr);
        return 2;
    }
    // Everything is drawn by the CPU. Without this the X plugin loads the
    // OpenGL driver at start (with Mesa, LLVM: half the resident memory).
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    return -1;
}

static int run_window(QApplication &a, const StartOptions &options, SettingsStore &store,
                      const StartSettings &start)
{
    QFile qss(":/new/prefix1/QSS.qss");
    qss.open(QFile::ReadOnly);
    QString style_sheet = QLatin1String(qss.readAll().constData());
    a.setStyleSheet(style_sheet);
    qss.close();

    frmain w;
    prepare_window(w, store, options, start);
    // Ending the desktop session, Ctrl+C or kill: close as the close button
    // does, so the recording keeps everything received and the port's lock
    // is released, then leave every event loop, nested ones included.
    SignalWatch signal_watch;
    QObject::connect(&signal_watch, &SignalWatch::received, &w, [&w] {
        w.close();
        QCoreApplication::exit(0);
    });
    w.setWindowIcon(window_icon(":/icon/doc/1.png"));
#ifdef __GLIBC__
    // The artwork took some 20 MB to decode; give it back rather than keep
    // it in the heap for the whole session.
    malloc_trim(0);
#endif
    w.setFixedSize(800, 650);
    w.show();
    QTextStream err(stderr);
    start_unattended(w, options, err);
    return a.exec();
}

// The window asked to start again in another language: once it is gone
// (the port released, the settings written), with the same options.
static void restart_if_asked()
{
    if (!InterfaceLanguage::restart_requested())
        return;
    const QStringList arguments = InterfaceLanguage::restart_arguments(
        QCoreApplication::arguments().mid(1), InterfaceLanguage::chosen());
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments))
        std::fputs("svterminal: could not start again\n", stderr);
}

int main(int argc, char *argv[])
{
    StartOptions options;
    const int ended = before_start(argc, argv, &options);
    if (ended >= 0)
        return ended;
    const QtMessageHandler usual = qInstallMessageHandler(no_display);
    QApplication a(argc, argv);
    qInstallMessageHandler(usual);
    a.setApplicationVersion(SVT_VERSION);
    if (!options.lang.isEmpty() && !InterfaceLanguage::known(options.lang)) {
        std::fprintf(stderr, "svterminal: --lang: no such language: %s (%s)\n",
                     qPrintable(options.lang),
                     qPrintable(InterfaceLanguage::codes().join(QLatin1String(", "))));
        return 2;
    }
    SettingsStore store;
    const StartSettings start = read_start_settings(store, options);
    InterfaceLanguage::install(start_language(options, start));
    QTextStream err(stderr);
    if (!options.report_log.isEmpty())
        return write_report_from_file(options.report_log, options.report_pdf, ReviewOptions(), err);
    if (!options.track_log.isEmpty())
        return export_track_from_file(options.track_log, options.track_format, options.track_out,
                                      err);
    const int code = run_window(a, options, store, start);
    restart_if_asked();
    return code;
}
