#include "reviewwindow.h"

#include "crosscheckpanel.h"
#include "exportdialog.h"
#include "exportname.h"
#include "logreader.h"
#include "mappanel.h"
#include "mapview.h"
#include "messagebox.h"
#include "reviewplot.h"
#include "reviewtrack.h"
#include "sessionreport.h"
#include "trendfigures.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

static const char png_caption[] = QT_TRANSLATE_NOOP("ReviewWindow", "导出PNG");
static const char report_caption[] = QT_TRANSLATE_NOOP("ReviewWindow", "生成报告");
static const char open_caption[] = QT_TRANSLATE_NOOP("ReviewWindow", "打开记录");

ReviewWindow::ReviewWindow(ReviewLog log, const ReviewOptions &options, QWidget *parent)
    : QWidget(parent, Qt::Window), review_log(std::move(log)), review_figures(review_log, options),
      review_plot(new ReviewPlot)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("记录回顾 — %1").arg(QFileInfo(review_log.path).fileName()));
    water.set_salinity(options.salinity);
    water.set_depth(options.depth);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(build_controls());
    auto *row = new QHBoxLayout;
    row->addWidget(build_views(), 1);
    row->addWidget(build_column());
    layout->addLayout(row, 1);

    review_plot->load(review_log, review_figures.stale_ms());
    table->show_figures(1, review_figures.whole());
    connect(review_plot->xAxis, QOverload<const QCPRange &>::of(&QCPAxis::rangeChanged), this,
            &ReviewWindow::show_span);
    connect(&water, &WaterSettings::changed, this, [this] {
        review_figures.set_water(water.salinity(), water.depth());
        table->show_figures(1, review_figures.whole());
        show_span();
    });
    show_span();
    resize(1100, 620);
}

QWidget *ReviewWindow::build_controls()
{
    auto *controls = new QWidget;
    auto *row = new QHBoxLayout(controls);
    row->setContentsMargins(0, 0, 0, 0);
    QStringList notes = review_log.notes;
    if (review_log.times_estimated && notes.isEmpty())
        notes << tr("原始记录：各行时间为估计值");
    auto *about = new QLabel(QString("%1  %2").arg(review_log.path, notes.join(tr("；"))));
    about->setWordWrap(true);
    row->addWidget(about, 1);
    auto *whole = new QPushButton(tr("全部"));
    auto *png = new QPushButton(tr(png_caption));
    auto *report = new QPushButton(tr(report_caption));
    for (QPushButton *button : {whole, png, report})
        row->addWidget(button);
    connect(whole, &QPushButton::clicked, this, [this] {
        review_plot->xAxis->setRange(review_log.start_ms / 1000.0,
                                     qMax(review_log.end_ms, review_log.start_ms + 1000) / 1000.0);
        review_plot->replot();
    });
    // Beside the log, named by it (and the span shown, for a picture).
    const QFileInfo source(review_log.path);
    connect(png, &QPushButton::clicked, this, [this, source] {
        const QString path
            = ask_export_path(this, tr(png_caption),
                              source.absolutePath() + '/'
                                  + export_name(source.filePath(), review_plot->from_msecs(),
                                                review_plot->to_msecs(), "png"),
                              "png");
        if (!path.isEmpty() && !export_png(path))
            show_message(tr("文件写入失败：\n%1").arg(path));
    });
    connect(report, &QPushButton::clicked, this, [this, source] {
        const QString path = ask_export_path(
            this, tr(report_caption),
            source.absolutePath() + '/' + source.completeBaseName() + ".pdf", "pdf");
        QString error;
        if (!path.isEmpty() && !write_report(path, &error))
            show_message(error);
    });
    return controls;
}

QWidget *ReviewWindow::build_column()
{
    auto *column = new QWidget;
    auto *stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    table = new TrendFigures({tr("可见范围"), tr("全部")}, false);
    cross_check = new CrossCheckPanel(&water);
    stack->addWidget(table);
    stack->addSpacing(12);
    stack->addWidget(cross_check);
    stack->addStretch(1);
    column->setFixedWidth(column->sizeHint().width());
    return column;
}

// The plot alone, or beside the map of the same span when there are positions.
QWidget *ReviewWindow::build_views()
{
    if (!has_positions(review_log))
        return review_plot;
    auto *views = new QTabWidget;
    views->addTab(review_plot, tr("曲线"));
    map_panel = new MapPanel(
        &span_track,
        [this] {
            return review_track(review_log, review_plot->from_msecs(), review_plot->to_msecs());
        },
        QFileInfo(review_log.path).completeBaseName());
    views->addTab(map_panel, tr("地图"));
    connect(views, &QTabWidget::currentChanged, this, [this, views](int index) {
        if (views->widget(index) == map_panel)
            show_map_span();
    });
    return views;
}

// A long night is thinned to what the map draws quickly; the export takes
// every reading of the span.
void ReviewWindow::show_map_span()
{
    span_track.clear();
    for (const TrackPoint &point : review_track(review_log, review_plot->from_msecs(),
                                                review_plot->to_msecs(), span_track.capacity()))
        span_track.add(point);
    map_panel->refresh();
    map_panel->view()->follow_track();
}

void ReviewWindow::show_span()
{
    const SpanFigures span
        = review_figures.span(review_plot->from_msecs(), review_plot->to_msecs());
    table->show_figures(0, span);
    cross_check->show_figures(span);
    review_plot->fit_values(span.speed, span.temperature);
    review_plot->replot(QCustomPlot::rpQueuedReplot);
}

QString ReviewWindow::title() const
{
    const auto utc = [](qint64 ms) {
        return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString("yyyy-MM-dd hh:mm:ss");
    };
    return QString("%1    %2 – %3 UTC")
        .arg(QFileInfo(review_log.path).fileName(), utc(review_plot->from_msecs()),
             utc(review_plot->to_msecs()));
}

bool ReviewWindow::export_png(const QString &path)
{
    return review_plot->export_png(path, title());
}

bool ReviewWindow::write_report(const QString &path, QString *error) const
{
    SessionInfo info;
    (review_log.kind == ReviewLog::Kind::raw ? info.recording : info.log) = review_log.path;
    return SessionReport(review_log, review_figures, info).write(path, error);
}

ReviewWindow *ReviewWindow::open(const QString &path, QWidget *parent)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ReviewLog log = LogReader().read(path);
    QApplication::restoreOverrideCursor();
    if (!log.readable()) {
        QMessageBox::warning(parent, tr(open_caption), log.problems.join('\n'));
        return nullptr;
    }
    const QStringList problems = log.problems;
    auto *window = new ReviewWindow(std::move(log), ReviewOptions(), parent);
    window->show();
    if (!problems.isEmpty()) {
        // Said once, beside the window, which shows what could be read.
        auto *message = new QMessageBox(QMessageBox::Warning, tr(open_caption), problems.join('\n'),
                                        QMessageBox::Ok, window);
        message->setAttribute(Qt::WA_DeleteOnClose);
        message->show();
    }
    return window;
}
