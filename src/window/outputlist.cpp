#include "outputlist.h"

#include "outputeditor.h"

#include <QHeaderView>

namespace {

enum Column {
    destination_column,
    format_column,
    gate_column,
    state_column,
    sent_column,
    gated_column,
    dropped_column,
    last_column,
    columns
};

QString destination_text(const OutputConfig &config)
{
    QString where;
    if (config.kind == OutputConfig::serial)
        where = config.serial_name + QLatin1Char(' ') + QString::number(config.baud);
    else if (config.kind == OutputConfig::udp)
        where = config.host + QLatin1Char(':') + QString::number(config.port);
    else
        where = QString::number(config.port);
    return kind_caption(config.kind) + QLatin1Char(' ') + where;
}

QString state_text(const OutputStatus &status)
{
    QString text = output_state_text(status.state);
    if (!status.reason.isEmpty())
        text += QStringLiteral("：") + status.reason;
    return text;
}

// The sentence without its line end; any other control character as a blank.
QString sentence_text(const QByteArray &sentence)
{
    QString text = QString::fromUtf8(sentence).trimmed();
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text;
}

} // namespace

OutputList::OutputList(QWidget *parent) : QTableWidget(0, columns, parent)
{
    setObjectName("outputs");
    setHorizontalHeaderLabels(
        {"输出", "格式", "条件", "状态", "已发送", "已拦截", "已丢弃", "最后发送"});
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    const int widths[] = {172, 44, 118, 132, 52, 52, 52};
    for (int column = 0; column < last_column; ++column)
        setColumnWidth(column, widths[column]);
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QTableWidget::cellChanged, this, &OutputList::cell_changed);
}

void OutputList::show_outputs(const QVector<OutputConfig> &configs,
                              const QVector<OutputStatus> &statuses)
{
    filling = true;
    const int rows = qMin(configs.size(), statuses.size());
    setRowCount(rows);
    for (int row = 0; row < rows; ++row)
        fill_row(row, configs.at(row), statuses.at(row));
    filling = false;
}

int OutputList::chosen() const
{
    return selectionModel()->hasSelection() ? currentRow() : -1;
}

void OutputList::fill_row(int row, const OutputConfig &config, const OutputStatus &status)
{
    QString gate_text = gate_caption(config.gate);
    if (config.hold)
        gate_text += QStringLiteral("，保持");
    const QString texts[] = {destination_text(config),
                             format_name(config.format),
                             gate_text,
                             state_text(status),
                             QString::number(status.sent),
                             QString::number(status.gated),
                             QString::number(status.dropped),
                             sentence_text(status.last_sentence)};
    for (int column = 0; column < columns; ++column) {
        QTableWidgetItem *cell = item(row, column);
        if (!cell) {
            cell = new QTableWidgetItem;
            if (column >= sent_column && column <= dropped_column)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(row, column, cell);
        }
        cell->setText(texts[column]);
        cell->setToolTip(texts[column]);
    }
    item(row, format_column)->setToolTip(format_caption(config.format));
    if (!status.last_error.isEmpty())
        item(row, state_column)
            ->setToolTip(texts[state_column] + QLatin1Char('\n') + status.last_error);
    QTableWidgetItem *tick = item(row, destination_column);
    tick->setFlags(tick->flags() | Qt::ItemIsUserCheckable);
    tick->setCheckState(config.enabled ? Qt::Checked : Qt::Unchecked);
}

void OutputList::cell_changed(int row, int column)
{
    if (!filling && column == destination_column)
        emit switched(row, item(row, column)->checkState() == Qt::Checked);
}
