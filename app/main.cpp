#include "frmain.h"
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
#include <QTextStream>
#include <QTranslator>

#include <cstdio>

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

int main(int argc, char *argv[])
{
    // A batch report draws only into the PDF, a track export draws nothing:
    // neither needs a display.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--report") == 0 || qstrncmp(argv[i], "--export-track", 14) == 0)
            qputenv("QT_QPA_PLATFORM", "offscreen");
    // Everything is drawn by the CPU. Without this the X plugin loads the
    // OpenGL driver at start (with Mesa, LLVM: half the resident memory).
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    QApplication a(argc, argv);
    a.setApplicationVersion(SVT_VERSION);

    StartOptions options;
    QString error;
    if (!StartOptions::parse(a.arguments().mid(1), &options, &error)) {
        fprintf(stderr, "svterminal: %s\n%s", qPrintable(error), qPrintable(StartOptions::usage()));
        return 2;
    }
    if (!options.report_log.isEmpty()) {
        QTextStream err(stderr);
        return write_report_from_file(options.report_log, options.report_pdf, ReviewOptions(), err);
    }
    if (!options.track_log.isEmpty()) {
        QTextStream err(stderr);
        return export_track_from_file(options.track_log, options.track_format, options.track_out,
                                      err);
    }

    QTranslator translator;
    translator.load(":/new/prefix1/qt_zh_CN.qm", "", "", "");
    a.installTranslator(&translator);

    QFile qss(":/new/prefix1/QSS.qss");
    qss.open(QFile::ReadOnly);
    QString style_sheet = QLatin1String(qss.readAll().constData());
    a.setStyleSheet(style_sheet);
    qss.close();

    frmain w;
    SettingsStore store;
    prepare_window(w, store, options);
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
    w.setWindowTitle("声速仪显示配置终端V1.0");
    w.setFixedSize(800, 650);
    w.show();
    QTextStream err(stderr);
    start_unattended(w, options, err);

    return a.exec();
}
