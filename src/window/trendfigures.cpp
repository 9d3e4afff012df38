#include "trendfigures.h"

#include "spanstats.h"
#include "trendmodel.h"

#include <QDateTime>
#include <QGridLayout>
#include <QLabel>

#include <cmath>

const char speed_caption[] = "声速";
const char average_caption[] = "平均声速";
const char temperature_caption[] = "温度";
const char flagged_caption[] = "异常";

static const char *const row_captions[] = {"计数", "最小", "最大", "平均", "标准差"};
static const char dash[] = "—";

QString figure_text(double value, int decimals)
{
    return std::isfinite(value) ? QString::number(value, 'f', decimals) : QString(dash);
}

TrendFigures::TrendFigures(QWidget *parent) : QWidget(parent), grid(new QGridLayout(this))
{
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);
    grid->addWidget(new QLabel(speed_caption), 0, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(temperature_caption), 0, 2, Qt::AlignRight);
    for (const char *caption : row_captions)
        grid->addWidget(new QLabel(caption), grid->rowCount(), 0);
    speed = add_column(1);
    temperature = add_column(2);
    rate = add_row("速率 (行/秒)");
    range = add_row("超限");
    spike = add_row("尖峰");
    malformed = add_row("畸形行");
    state = add_row("数据流");
    last_valid = add_row("最后有效");
}

// A row of a caption and one figure across both columns; returns the figure.
QLabel *TrendFigures::add_row(const char *caption)
{
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(caption), row, 0);
    auto *value = new QLabel(dash);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(value, row, 1, 1, 2);
    return value;
}

// The value labels beside the rows of row_captions, which start at row 1.
TrendFigures::Column TrendFigures::add_column(int column)
{
    QLabel *labels[5];
    for (int row = 0; row < 5; ++row) {
        labels[row] = new QLabel(dash);
        labels[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(labels[row], row + 1, column);
    }
    return {labels[0], labels[1], labels[2], labels[3], labels[4]};
}

void TrendFigures::show_moments(const Column &column, const RunningMoments &moments)
{
    column.count->setText(QString::number(moments.count));
    const bool any = moments.count > 0;
    column.min->setText(any ? figure_text(moments.min) : dash);
    column.max->setText(any ? figure_text(moments.max) : dash);
    column.mean->setText(any ? figure_text(moments.mean) : dash);
    column.deviation->setText(figure_text(moments.deviation()));
}

void TrendFigures::show_stats(const SpanStats &stats)
{
    show_moments(speed, stats.speed);
    show_moments(temperature, stats.temperature);
    rate->setText(stats.count >= 2 && stats.rate > 0.0 ? figure_text(stats.rate, 1) : dash);
    range->setText(QString::number(stats.range_count));
    spike->setText(QString::number(stats.spike_count));
}

void TrendFigures::show_status(const TrendModel &model)
{
    malformed->setText(QString::number(model.malformed_count()));
    state->setText(model.stale() ? "停滞" : "正常");
    const qint64 last = model.last_valid_msecs();
    last_valid->setText(last < 0 ? QString(dash)
                                 : QDateTime::fromMSecsSinceEpoch(last).toString("hh:mm:ss"));
}
