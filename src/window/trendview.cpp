#include "trendview.h"
#include "csvrow.h"
#include "exporttarget.h"

#include "crosscheckpanel.h"
#include "trendfigures.h"
#include "trendmodel.h"
#include "trendplot.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

static const int least_interval_ms = 100;

TrendView::TrendView(TrendModel *trend_model, WaterSettings *water_settings, QWidget *parent)
    : QWidget(parent), model(trend_model), water(water_settings), trend_plot(new TrendPlot)
{
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    auto *left = new QVBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(2);
    left->addWidget(build_controls());
    left->addWidget(trend_plot, 1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    layout->addLayout(left, 1);
    QScrollArea *column = build_column();
    layout->addWidget(column);
    // Sized once it has the view's font.
    column->setFixedWidth(column->widget()->sizeHint().width()
                          + column->verticalScrollBar()->sizeHint().width());

    deferred.setSingleShot(true);
    connect(&deferred, &QTimer::timeout, this, &TrendView::frame_tick);
    connect(trend_plot, &TrendPlot::keys_moved_by_hand, this, [this] {
        // Looking back at the past: the plot stops following new readings.
        pause_button->setChecked(true);
        request_refresh();
    });
    follow_newest();
    cross_check->refresh();
}

QWidget *TrendView::build_controls()
{
    auto *controls = new QWidget;
    auto *row = new QHBoxLayout(controls);
    row->setContentsMargins(0, 0, 0, 0);
    span_box = new QComboBox;
    span_box->addItem("5 分钟", 300);
    span_box->addItem("30 分钟", 1800);
    span_box->addItem("2 小时", 7200);
    pause_button = new QPushButton("暂停");
    pause_button->setCheckable(true);
    auto *png_button = new QPushButton("导出PNG");
    auto *csv_button = new QPushButton("导出CSV");
    detach_button = new QPushButton("独立窗口");
    for (QWidget *widget : {static_cast<QWidget *>(span_box), static_cast<QWidget *>(pause_button),
                            static_cast<QWidget *>(png_button), static_cast<QWidget *>(csv_button)})
        row->addWidget(widget);
    row->addStretch(1);
    row->addWidget(detach_button);
    // The program's buttons are wide; four of these share a narrow row.
    for (QPushButton *button : {pause_button, png_button, csv_button, detach_button})
        button->setStyleSheet("min-width: 3em; padding: 2px 6px;");

    connect(span_box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
        if (paused()) {
            const qint64 to = trend_plot->to_msecs();
            trend_plot->show_keys(to - span_seconds() * qint64(1000), to);
        }
        request_refresh();
    });
    connect(pause_button, &QPushButton::toggled, this, &TrendView::request_refresh);
    connect(png_button, &QPushButton::clicked, this,
            [this, png_button] { export_with_dialog(png_button, "PNG (*.png)", true); });
    connect(csv_button, &QPushButton::clicked, this,
            [this, csv_button] { export_with_dialog(csv_button, "CSV (*.csv)", false); });
    connect(detach_button, &QPushButton::clicked, this, &TrendView::detach_requested);
    return controls;
}

QScrollArea *TrendView::build_column()
{
    auto *inner = new QWidget;
    auto *stack = new QVBoxLayout(inner);
    stack->setContentsMargins(2, 0, 2, 0);
    stack->setSpacing(6);
    figures = new TrendFigures;
    cross_check = new CrossCheckPanel(model, water);
    stack->addWidget(figures);
    stack->addWidget(cross_check);
    stack->addStretch(1);

    // The tab gives the figures less height than they need; they scroll.
    auto *column = new QScrollArea;
    column->setWidget(inner);
    column->setWidgetResizable(true);
    column->setFrameShape(QFrame::NoFrame);
    column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return column;
}

void TrendView::frame_tick()
{
    if (!isVisible() || (!replot_wanted && model->revision() == drawn_revision))
        return;
    const qint64 wait = since_drawn.isValid() ? least_interval_ms - since_drawn.elapsed() : 0;
    if (wait > 0) {
        // The window's timer may stop before then; this tick must not be lost.
        if (!deferred.isActive())
            deferred.start(int(wait));
        return;
    }
    refresh();
}

void TrendView::refresh()
{
    deferred.stop();
    since_drawn.restart();
    drawn_revision = model->revision();
    bool replot = replot_wanted;
    replot_wanted = false;
    if (!paused()) {
        replot = trend_plot->sync(*model) || replot;
        replot = follow_newest() || replot;
    }
    if (replot) {
        stats = span_stats(model->buffer(), trend_plot->from_msecs(), trend_plot->to_msecs());
        trend_plot->fit_values(stats);
        trend_plot->replot();
        figures->show_stats(stats);
    }
    figures->show_status(*model);
    cross_check->refresh();
}

void TrendView::request_refresh()
{
    replot_wanted = true;
    frame_tick();
}

// Shows the chosen span up to the newest reading; true if the plot moved.
bool TrendView::follow_newest()
{
    const TrendBuffer &buffer = model->buffer();
    const qint64 to = buffer.empty() ? QDateTime::currentMSecsSinceEpoch() : buffer.last().msecs;
    const qint64 from = to - span_seconds() * qint64(1000);
    if (from == trend_plot->from_msecs() && to == trend_plot->to_msecs())
        return false;
    trend_plot->show_keys(from, to);
    return true;
}

void TrendView::set_span_seconds(int seconds)
{
    const int index = span_box->findData(seconds);
    if (index >= 0)
        span_box->setCurrentIndex(index);
}

int TrendView::span_seconds() const
{
    return span_box->currentData().toInt();
}

void TrendView::set_paused(bool paused)
{
    pause_button->setChecked(paused);
}

bool TrendView::paused() const
{
    return pause_button->isChecked();
}

void TrendView::set_detachable(bool detachable)
{
    detach_button->setVisible(detachable);
}

void TrendView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // What arrived while hidden is drawn once the event loop runs again.
    replot_wanted = true;
    deferred.start(0);
}

void TrendView::export_with_dialog(QPushButton *button, const char *filter, bool png)
{
    const QString title = button->text();
    const QString path = QFileDialog::getSaveFileName(this, title, QString(), filter);
    if (path.isEmpty())
        return;
    const QString refusal = export_refusal(path);
    if (!refusal.isEmpty())
        QMessageBox::warning(this, title, refusal);
    else if (!(png ? export_png(path) : export_csv(path)))
        QMessageBox::warning(this, title, QString("文件写入失败：\n%1").arg(path));
}

bool TrendView::export_png(const QString &path)
{
    return export_refusal(path).isEmpty() && trend_plot->savePng(path);
}

// The measurement log's dialect, so a spreadsheet or script reads both alike.
bool TrendView::export_csv(const QString &path) const
{
    if (!export_refusal(path).isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = csv_header();
    const TrendBuffer &buffer = model->buffer();
    const int end = buffer.first_at_or_after(trend_plot->to_msecs() + 1);
    for (int i = buffer.first_at_or_after(trend_plot->from_msecs()); i < end; ++i) {
        const TrendSample &sample = buffer.at(i);
        text += csv_row(sample.msecs,
                        {csv_number(sample.speed), csv_number(sample.temperature),
                         csv_number(sample.average),
                         QString::fromLatin1(quality_name(sample.quality)), QString(), QString()});
        // Written as it goes, so two hours of rows never sit in memory at once.
        if (text.size() >= 65536) {
            if (file.write(text) != text.size())
                return false;
            text.clear();
        }
    }
    return file.write(text) == text.size() && file.commit();
}
