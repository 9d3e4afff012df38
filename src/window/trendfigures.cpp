#include "trendfigures.h"

#include "chunkedfigures.h"
#include "trendmodel.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QVariant>

const char speed_caption[] = QT_TRANSLATE_NOOP("TrendFigures", "声速");
const char average_caption[] = QT_TRANSLATE_NOOP("TrendFigures", "平均声速");
const char temperature_caption[] = QT_TRANSLATE_NOOP("TrendFigures", "温度");
const char flagged_caption[] = QT_TRANSLATE_NOOP("TrendFigures", "异常");

static const char *const row_captions[TrendFigures::rows]
    = {QT_TRANSLATE_NOOP("TrendFigures", "读数 (合格)"),
       QT_TRANSLATE_NOOP("TrendFigures", "速率 (行/秒)"),
       QT_TRANSLATE_NOOP("TrendFigures", "最小 (m/s)"),
       QT_TRANSLATE_NOOP("TrendFigures", "最大 (m/s)"),
       QT_TRANSLATE_NOOP("TrendFigures", "平均 (m/s)"),
       QT_TRANSLATE_NOOP("TrendFigures", "标准差 (m/s)"),
       QT_TRANSLATE_NOOP("TrendFigures", "平均温度 (°C)"),
       QT_TRANSLATE_NOOP("TrendFigures", "超限 / 尖峰"),
       QT_TRANSLATE_NOOP("TrendFigures", "畸形行"),
       QT_TRANSLATE_NOOP("TrendFigures", "间断 / 时长")};

// The widest figure each row may show: counts of up to 9,999,999, gaps of
// up to 99 hours in all.
static const char *const widest_figures[TrendFigures::rows]
    = {"9999999 (9999999)", "99999.9", "9999.999",          "9999.999", "9999.999",
       "999.999",           "-99.999", "9999999 / 9999999", "9999999",  "9999999 / 99:59:59"};

// The stream's state by TrendModel::Stream.
static const char *const stream_words[]
    = {QT_TRANSLATE_NOOP("TrendFigures", "正常"), QT_TRANSLATE_NOOP("TrendFigures", "停滞"),
       QT_TRANSLATE_NOOP("TrendFigures", "已关闭"), QT_TRANSLATE_NOOP("TrendFigures", "已断开")};

namespace {

// A figure that keeps room for the widest it may show, whatever font the
// style sheet gives it, so growing figures are never cut and never move
// the table.
class FigureLabel : public QLabel
{
public:
    explicit FigureLabel(const QStringList &widest) : QLabel(no_figure), widest(widest)
    {
        setProperty("figure", true);
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    QSize minimumSizeHint() const override
    {
        QSize size = QLabel::minimumSizeHint();
        for (const QString &text : widest)
            size.setWidth(qMax(size.width(), fontMetrics().horizontalAdvance(text) + 2));
        return size;
    }
    QSize sizeHint() const override { return QLabel::sizeHint().expandedTo(minimumSizeHint()); }

private:
    QStringList widest;
};

} // namespace

TrendFigures::TrendFigures(const QStringList &headings, bool live, QWidget *parent)
    : QWidget(parent), grid(new QGridLayout(this))
{
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    // Live, the tab is low: one column of figures goes in two halves side by
    // side, and needs no heading. A review window has room for a table.
    first_row = live ? 0 : 1;
    per_block = live ? (rows + 3) / 2 : rows;
    for (int column = 0; column < headings.size() && !live; ++column)
        grid->addWidget(new QLabel(headings[column]), 0, column + 1, Qt::AlignRight);
    columns.resize(headings.size());
    for (int row = 0; row < rows; ++row) {
        // Live, beside the malformed lines: wrong checksums, lines before
        // recognition decided (show_status() fills it).
        const QString caption
            = live && row == malformed ? tr("畸形/校验/未识别") : tr(row_captions[row]);
        for (int column = 0; column < headings.size(); ++column)
            columns[column].append(add_row(
                row, caption, column,
                {live && row == malformed ? QString("999999/99999/99999") : widest_figures[row]}));
    }
    if (live) {
        QStringList words;
        for (const char *word : stream_words)
            words << tr(word);
        state = add_row(rows, tr("数据流"), 0, words);
        last_valid = add_row(rows + 1, tr("最后有效 (UTC)"), 0, {"00:00:00"});
    }
    grid->setRowStretch(first_row + per_block, 1);
}

// The figure of the index-th row in a column, with its caption once.
QLabel *TrendFigures::add_row(int index, const QString &caption, int column,
                              const QStringList &widest)
{
    const int row = first_row + index % per_block;
    const int base = index / per_block * (1 + columns.size());
    if (column == 0)
        grid->addWidget(new QLabel(caption), row, base);
    auto *value = new FigureLabel(widest);
    grid->addWidget(value, row, base + 1 + column);
    return value;
}

void TrendFigures::show_figures(int column, const SpanFigures &figures)
{
    const QVector<QLabel *> &labels = columns[column];
    const RunningMoments &speed = figures.speed;
    const bool any = speed.count > 0;
    labels[readings]->setText(QString("%1 (%2)").arg(figures.readings).arg(speed.count));
    labels[rate]->setText(figures.rate > 0.0 ? figure_text(figures.rate, 1) : no_figure);
    labels[minimum]->setText(any ? figure_text(speed.min) : no_figure);
    labels[maximum]->setText(any ? figure_text(speed.max) : no_figure);
    labels[mean]->setText(any ? figure_text(speed.mean) : no_figure);
    labels[deviation]->setText(figure_text(speed.deviation()));
    labels[temperature]->setText(
        figures.temperature.count > 0 ? figure_text(figures.temperature.mean) : no_figure);
    labels[flags]->setText(QString("%1 / %2").arg(figures.range_count).arg(figures.spike_count));
    if (!state)
        labels[malformed]->setText(QString::number(figures.rejected));
    labels[gaps]->setText(
        QString("%1 / %2").arg(figures.gap_count).arg(duration_text(figures.gap_ms)));
}

void TrendFigures::show_status(const TrendModel &model)
{
    if (!state)
        return;
    state->setText(tr(stream_words[int(model.stream())]));
    columns[0][malformed]->setText(QString("%1/%2/%3")
                                       .arg(model.malformed_count())
                                       .arg(model.checksum_count())
                                       .arg(model.unrecognised_count()));
    const qint64 last = model.last_valid_msecs();
    last_valid->setText(last < 0
                            ? QString(no_figure)
                            : QDateTime::fromMSecsSinceEpoch(last, Qt::UTC).toString("hh:mm:ss"));
}

QString TrendFigures::figure(int column, int row) const
{
    return columns[column][row]->text();
}

QString TrendFigures::stream_text() const
{
    return state ? state->text() : QString();
}
