// The status pane under a long session: resident memory and append cost per
// line as measurement lines pile up, with the pane's current cap and with a
// few other caps, so the cap can be chosen from figures. Each run is a fresh
// process (this program started again with --cap), so memory figures do not
// mix.
#include "benchsupport.h"
#include "frmain.h"
#include "statuspane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextBlock>
#include <QTextEdit>

#include <cstdio>

// Lines added between two runs of the event loop, as a busy reader does.
static const int lines_per_pass = 10;

// One run: prints "mark <lines> <rss MB> <append us/line> <with events us/line>"
// at every mark, the costs taken over the lines just before it.
static int run_child(int keep, const QList<int> &marks)
{
    frmain window;
    window.show();
    QTextEdit *pane = window.status_textedit;
    QApplication::processEvents();

    // Each mark's costs are taken over the span of lines just before it.
    QVector<int> span_start;
    for (int mark : marks)
        span_start.append(mark - qMin(mark, 10000));
    QVector<qint64> append_before(marks.size(), 0);
    QVector<qint64> elapsed_before(marks.size(), 0);

    QElapsedTimer clock;
    clock.start();
    qint64 append_ns = 0;
    for (int line = 1; line <= marks.last(); ++line) {
        for (int i = 0; i < marks.size(); ++i) {
            if (span_start.at(i) == line - 1) {
                append_before[i] = append_ns;
                elapsed_before[i] = clock.nsecsElapsed();
            }
        }
        const QString text = QString::fromLatin1(measurement_line(line));
        const qint64 before = clock.nsecsElapsed();
        append_to_pane(pane, text, keep);
        append_ns += clock.nsecsElapsed() - before;
        if (line % lines_per_pass == 0)
            QApplication::processEvents();

        const int i = marks.indexOf(line);
        if (i >= 0) {
            const int span = line - span_start.at(i);
            std::printf("mark %d %.1f %.1f %.1f %d\n", line, resident_mb(),
                        (append_ns - append_before.at(i)) / 1e3 / span,
                        (clock.nsecsElapsed() - elapsed_before.at(i)) / 1e3 / span,
                        pane->document()->blockCount());
            std::fflush(stdout);
        }
    }
    return 0;
}

struct Config
{
    QString label;
    QStringList arguments;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int cap_at = arguments.indexOf("--cap");
    const int marks_at = arguments.indexOf("--marks");
    if (cap_at > 0 && marks_at > 0 && marks_at + 1 < arguments.size()) {
        QList<int> marks;
        for (const QString &mark : arguments.at(marks_at + 1).split(','))
            marks.append(mark.toInt());
        const QString cap = arguments.value(cap_at + 1);
        return run_child(cap == "program" ? status_pane_keep : cap.toInt(), marks);
    }

    // The program's cap goes to a million lines; the others to 60,000, past
    // a trim of even the largest cap, which keeps the whole under two minutes.
    const QString current = QString::number(status_pane_keep);
    const QVector<Config> configs = {
        {current + " (the program's)", {"--cap", "program", "--marks", "1000,100000,1000000"}},
        {"none", {"--cap", "0", "--marks", "1000,10000,60000"}},
        {"2000", {"--cap", "2000", "--marks", "1000,10000,60000"}},
        {"20000", {"--cap", "20000", "--marks", "1000,10000,60000"}},
        {"50000", {"--cap", "50000", "--marks", "1000,10000,60000"}},
    };

    std::printf("bench_pane: status pane of a shown window, measurement lines appended (%d per"
                " event-loop pass); costs over the last min(lines, 10000) lines before each"
                " mark\n",
                lines_per_pass);
    std::printf("  %-18s %9s %8s %12s %14s %11s\n", "cap", "lines", "RSS MB", "append us",
                "w/ events us", "paragraphs");
    bool all_ran = true;
    for (const Config &config : configs) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), config.arguments);
        bool ran = child.waitForFinished(300000) && child.exitCode() == 0;
        const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
        int rows = 0;
        for (const QByteArray &line : lines) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() != 6 || f.at(0) != "mark")
                continue;
            std::printf("  %-18s %9d %8.1f %12.1f %14.1f %11d\n", qPrintable(config.label),
                        f.at(1).toInt(), f.at(2).toDouble(), f.at(3).toDouble(), f.at(4).toDouble(),
                        f.at(5).toInt());
            ++rows;
        }
        std::fflush(stdout);
        if (!ran || rows == 0) {
            std::printf("  %-18s run failed\n", qPrintable(config.label));
            all_ran = false;
        }
    }
    return all_ran ? 0 : 1;
}
