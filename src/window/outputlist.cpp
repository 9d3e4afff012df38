#include "outputlist.h"

#include "outputeditor.h"
#include "outputhub.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QStyleOptionViewItem>

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

// Beside the gate: the last good value is held.
QString hold_mark()
{
    return QCoreApplication::translate("OutputList", "，保持");
}

QString state_text(const OutputStatus &status)
{
    const QString state = output_state_text(status.state);
    if (status.reason.isEmpty())
        return state;
    // The state, then why.
    return QCoreApplication::translate("OutputList", "%1：%2").arg(state, status.reason);
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
    setHorizontalHeaderLabels({tr("输出"), tr("格式"), tr("条件"), tr("状态"), tr("已发送"),
                               tr("已拦截"), tr("已丢弃"), tr("最后发送")});
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // A path too long for its column keeps its end, which tells ports apart.
    setTextElideMode(Qt::ElideMiddle);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(destination_column, QHeaderView::Stretch);
    fit_columns();
    connect(this, &QTableWidget::cellChanged, this, &OutputList::cell_changed);
}

// Each column as wide as the longest it shows whole in the list's font:
// counts up to 9,999,999, the waits the program itself names, every
// sentence but JSON's; the destination takes the rest.
void OutputList::fit_columns()
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    const QString count = QStringLiteral("9999999");
    QStringList formats, gates, states;
    for (int format = 0; format <= int(SentenceFormat::json); ++format)
        formats << format_name(SentenceFormat(format));
    for (auto gate : {OutputGate::good_only, OutputGate::every_valid})
        gates << gate_caption(gate) + hold_mark();
    for (const char *event : {"port_closed", "port_lost", "port_back"}) {
        OutputStatus waiting;
        waiting.state = OutputState::waiting;
        waiting.reason = OutputHub::waiting_reason(event);
        states << state_text(waiting);
    }
    const QStringList samples[columns]
        = {{},      formats, gates,   states,
           {count}, {count}, {count}, {QStringLiteral("$ 1489.805 10.0449")}};
    for (int column = format_column; column < columns; ++column) {
        int width = horizontalHeader()->sectionSizeHint(column);
        for (const QString &text : samples[column])
            width = qMax(width, cell_width(text));
        setColumnWidth(column, width);
    }
}

int OutputList::cell_width(const QString &text) const
{
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.font = font();
    option.fontMetrics = fontMetrics();
    option.text = text;
    option.features = QStyleOptionViewItem::HasDisplay;
    const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
    return size.width() + (showGrid() ? 1 : 0);
}

void OutputList::changeEvent(QEvent *event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fit_columns();
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
        gate_text += hold_mark();
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
