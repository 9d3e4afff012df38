#include "trendview.h"

#include "crosscheckpanel.h"
#include "reviewwindow.h"
#include "trendfigures.h"
#include "trendmodel.h"
#include "trendplot.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

static const int least_interval_ms = 100;
// The buttons above the plot, in order.
static const char *const button_names[]
    = {"pause", "export_png", "export_csv", "open_log", "report", "detach"};

TrendView::TrendView(TrendModel *trend_model, WaterSettings *water_settings, QWidget *parent)
    : QWidget(parent), model(trend_model), water(water_settings), trend_plot(new TrendPlot)
{
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    // The program's style sheet gives every label its large font and centres
    // its text, and keeps the font above from reaching them: here they are
    // figures in a low tab, small, names to the left and numbers to the right.
    setStyleSheet("QLabel, QAbstractSpinBox { font-size: 8pt; }"
                  "QLabel { qproperty-alignment: 'AlignLeft | AlignVCenter'; }"
                  "QLabel[figure=\"true\"] { qproperty-alignment: 'AlignRight | AlignVCenter'; }");

    // The plot takes the room the figures leave; they and the cross-check
    // share one column as two pages, so neither needs scrolling.
    auto *lower = new QHBoxLayout;
    lower->setSpacing(4);
    lower->addWidget(trend_plot, 1);
    lower->addWidget(build_pages());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(build_controls());
    layout->addLayout(lower, 1);

    deferred.setSingleShot(true);
    connect(&deferred, &QTimer::timeout, this, &TrendView::frame_tick);
    connect(trend_plot, &TrendPlot::keys_moved_by_hand, this, [this] {
        // Looking back at the past: the plot stops following new readings.
        pause_button->setChecked(true);
        request_refresh();
    });
    follow_newest();
    cross_check->show_reading(NAN, NAN);
}

QWidget *TrendView::build_controls()
{
    auto *controls = new QWidget;
    auto *row = new QHBoxLayout(controls);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    span_box = new QComboBox;
    span_box->addItem(tr("5 分钟"), default_span_s);
    span_box->addItem(tr("30 分钟"), 1800);
    span_box->addItem(tr("2 小时"), 7200);
    span_box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    span_box->setStyleSheet("min-width: 4.5em;");
    pause_button = new QPushButton(tr("暂停"));
    pause_button->setCheckable(true);
    auto *png_button = new QPushButton(tr("导出PNG"));
    auto *csv_button = new QPushButton(tr("导出CSV"));
    auto *open_button = new QPushButton(tr("打开记录"));
    auto *report_button = new QPushButton(tr("生成报告"));
    detach_button = new QPushButton(tr("独立窗口"));
    // In the room left after the buttons, which it never takes from them:
    // a button stays where it was whatever the note says.
    span_note = new QLabel;
    span_note->setObjectName("span_note");
    span_note->setStyleSheet("color: #b05000;");
    span_note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(span_box);
    const char *const *name = button_names;
    for (QPushButton *button :
         {pause_button, png_button, csv_button, open_button, report_button, detach_button}) {
        button->setObjectName(*name++);
        // The program's buttons are wide; seven of these share a narrow row.
        button->setStyleSheet("min-width: 3em; padding: 2px 6px;");
        if (button == detach_button)
            row->addWidget(span_note, 1);
        row->addWidget(button);
    }

    connect(span_box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
        if (paused()) {
            const qint64 to = trend_plot->to_msecs();
            trend_plot->show_keys(to - span_seconds() * qint64(1000), to);
        }
        request_refresh();
    });
    connect(pause_button, &QPushButton::toggled, this, &TrendView::request_refresh);
    connect(png_button, &QPushButton::clicked, this,
            [this, png_button] { export_with_dialog(png_button, true); });
    connect(csv_button, &QPushButton::clicked, this,
            [this, csv_button] { export_with_dialog(csv_button, false); });
    connect(open_button, &QPushButton::clicked, this, [this, open_button] {
        const QString path = QFileDialog::getOpenFileName(
            this, open_button->text(), QFileInfo(session.log).path(), tr("CSV / 原始记录 (*)"));
        if (!path.isEmpty())
            ReviewWindow::open(path, this);
    });
    connect(report_button, &QPushButton::clicked, this,
            [this, report_button] { report_with_dialog(report_button); });
    connect(detach_button, &QPushButton::clicked, this, &TrendView::detach_requested);
    return controls;
}

QWidget *TrendView::build_pages()
{
    table = new TrendFigures({tr("显示范围")}, true);
    cross_check = new CrossCheckPanel(water);
    auto *pages = new QTabWidget;
    pages->setDocumentMode(true);
    pages->addTab(table, tr("统计"));
    pages->addTab(cross_check, tr("声速校核"));
    // As wide as the widest page needs with the fonts it is shown in.
    pages->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return pages;
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
    live.sync(*model);
    if (!paused()) {
        replot = trend_plot->sync(*model) || replot;
        replot = follow_newest() || replot;
    }
    if (replot) {
        shown = live.span(*model, trend_plot->from_msecs(), trend_plot->to_msecs());
        if (shown.speed.count > 0)
            trend_plot->fit_values(shown.speed, shown.temperature);
        else // only flagged readings: they set the scale, or nothing would show
            trend_plot->fit_values(shown.flagged_speed, shown.flagged_temperature);
        trend_plot->replot();
        show_span_note();
    }
    shown.rejected = model->malformed_count();
    table->show_figures(0, shown);
    table->show_status(*model);
    const TrendBuffer &buffer = model->buffer();
    cross_check->show_reading(buffer.empty() ? NAN : buffer.last().speed,
                              buffer.empty() ? NAN : buffer.last().temperature);
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

// Short by more than a pause between readings may be; a buffer that holds
// exactly two hours is not short of the two-hour span by one line interval.
bool TrendView::span_short() const
{
    const TrendBuffer &buffer = model->buffer();
    return buffer.empty() || buffer.at(0).msecs > trend_plot->from_msecs() + live.stale_ms();
}

// Says how much of the span the readings held cover, when not all of it.
void TrendView::show_span_note()
{
    const TrendBuffer &buffer = model->buffer();
    if (!span_short())
        span_note->clear();
    else if (buffer.empty() || buffer.at(0).msecs > trend_plot->to_msecs())
        span_note->setText(tr("无数据"));
    else
        span_note->setText(
            tr("仅有 %1 的数据").arg(duration_text(trend_plot->to_msecs() - buffer.at(0).msecs)));
    span_note->setToolTip(span_note->text());
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

void TrendView::set_stale_ms(qint64 stale_ms)
{
    live.set_stale_ms(stale_ms);
    trend_plot->set_stale_ms(stale_ms);
}

void TrendView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // What arrived while hidden is drawn once the event loop runs again.
    replot_wanted = true;
    deferred.start(0);
}
