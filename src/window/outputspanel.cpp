#include "outputspanel.h"
#include "tabstyle.h"

#include "outputeditor.h"
#include "outputhub.h"
#include "outputlist.h"
#include "qualitycheck.h"
#include "qualitylimits.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &caption, const char *name)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLineEdit *limit_edit(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setFixedWidth(64);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

} // namespace

OutputsPanel::OutputsPanel(OutputHub *output_hub, QualityCheck *quality_check, QWidget *parent)
    : QWidget(parent), hub(output_hub), quality(quality_check), table(new OutputList),
      editor(new OutputEditor), message(new QLabel)
{
    setStyleSheet(compact_buttons());
    message->setObjectName("message");
    message->setStyleSheet("color: #c00000;");
    message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto *edit_row = new QHBoxLayout;
    edit_row->setSpacing(4);
    edit_row->addWidget(editor);
    edit_row->addStretch();
    edit_row->addWidget(build_buttons());
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    column->addWidget(table, 1);
    column->addLayout(edit_row);
    column->addWidget(build_limits());
    link_line = new QLabel;
    link_line->setObjectName("link_line");
    link_line->setVisible(false);
    column->addWidget(link_line);

    timer.setInterval(refresh_ms);
    connect(&timer, &QTimer::timeout, this, &OutputsPanel::refresh);
    connect(table, &OutputList::switched, this, &OutputsPanel::switch_output);
    connect(table, &QTableWidget::itemSelectionChanged, this, &OutputsPanel::selection_changed);
    selection_changed();
    show_limits();
}

QWidget *OutputsPanel::build_buttons()
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    add_button = button("添加", "add");
    change_button = button("修改", "change");
    remove_button = button("删除", "remove");
    add_button->setToolTip("按左侧各项新增一个输出");
    change_button->setToolTip("把左侧各项用于选中的输出");
    for (QPushButton *b : {add_button, change_button, remove_button}) {
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 18);
        row->addWidget(b);
    }
    connect(add_button, &QPushButton::clicked, this, &OutputsPanel::add_output);
    connect(change_button, &QPushButton::clicked, this, &OutputsPanel::change_output);
    connect(remove_button, &QPushButton::clicked, this, &OutputsPanel::remove_output);
    return box;
}

QWidget *OutputsPanel::build_limits()
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    low_edit = limit_edit("range_low");
    high_edit = limit_edit("range_high");
    spike_edit = limit_edit("spike_threshold");
    low_edit->setText(QString::number(quality->range_low()));
    high_edit->setText(QString::number(quality->range_high()));
    auto *apply = button("应用", "apply_limits");
    apply->setFixedWidth(apply->fontMetrics().horizontalAdvance(apply->text()) + 18);
    const QString unit = QStringLiteral("m/s");
    row->addWidget(new QLabel("合格范围"));
    row->addWidget(low_edit);
    row->addWidget(new QLabel("至"));
    row->addWidget(high_edit);
    row->addWidget(new QLabel(unit));
    row->addSpacing(12);
    row->addWidget(new QLabel("跳变阈值"));
    row->addWidget(spike_edit);
    row->addWidget(new QLabel(unit));
    row->addWidget(apply);
    row->addSpacing(8);
    row->addWidget(message, 1);
    for (QLineEdit *edit : {low_edit, high_edit, spike_edit})
        connect(edit, &QLineEdit::editingFinished, this, &OutputsPanel::apply_limits);
    connect(apply, &QPushButton::clicked, this, &OutputsPanel::apply_limits);
    return box;
}

void OutputsPanel::set_limits(double low, double high, double spike_threshold)
{
    quality->set_range(low, high);
    quality->set_spike_threshold(spike_threshold);
    show_limits();
}

double OutputsPanel::spike_threshold() const
{
    return quality->spike();
}

void OutputsPanel::show_limits()
{
    low_edit->setText(QString::number(quality->range_low()));
    high_edit->setText(QString::number(quality->range_high()));
    spike_edit->setText(QString::number(quality->spike()));
}

void OutputsPanel::refresh()
{
    if (!isVisible())
        return;
    table->show_outputs(hub->configs(), hub->statuses());
    const QString link = link_text ? link_text() : QString();
    link_line->setText(link);
    link_line->setVisible(!link.isEmpty());
}

void OutputsPanel::set_link_status(std::function<QString()> text)
{
    link_text = std::move(text);
}

void OutputsPanel::add_output()
{
    OutputConfig config;
    QString error;
    if (!editor->read(&config, &error))
        return show_message(error);
    config.enabled = true;
    const int index = hub->add(config);
    if (index < 0)
        return show_message(QStringLiteral("最多只能设置 %1 个输出").arg(OutputHub::max_outputs));
    show_message(QString());
    refresh();
    table->selectRow(index);
    emit changed();
}

void OutputsPanel::change_output()
{
    const int row = table->chosen();
    OutputConfig config;
    QString error;
    if (row < 0 || row >= hub->count())
        return;
    if (!editor->read(&config, &error))
        return show_message(error);
    config.enabled = hub->config(row).enabled;
    show_message(QString());
    if (config == hub->config(row))
        return;
    hub->set_config(row, config);
    refresh();
    emit changed();
}

void OutputsPanel::remove_output()
{
    const int row = table->chosen();
    if (row < 0 || !hub->remove(row))
        return;
    show_message(QString());
    refresh();
    selection_changed();
    emit changed();
}

void OutputsPanel::switch_output(int row, bool on)
{
    if (row >= hub->count() || hub->config(row).enabled == on)
        return;
    hub->set_enabled(row, on);
    refresh();
    emit changed();
}

void OutputsPanel::selection_changed()
{
    const int row = table->chosen();
    const bool chosen = row >= 0 && row < hub->count();
    if (chosen)
        editor->load(hub->config(row));
    change_button->setEnabled(chosen);
    remove_button->setEnabled(chosen);
}

void OutputsPanel::apply_limits()
{
    double low = 0.0, high = 0.0, threshold = 0.0;
    const QString error = check_quality_limits(low_edit->text(), high_edit->text(),
                                               spike_edit->text(), &low, &high, &threshold);
    if (!error.isEmpty())
        return show_message(error);
    show_message(QString());
    if (low == quality->range_low() && high == quality->range_high()
        && threshold == quality->spike())
        return;
    set_limits(low, high, threshold);
    emit changed();
}

void OutputsPanel::show_message(const QString &text)
{
    message->setText(text);
    message->setToolTip(text);
}

void OutputsPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    timer.start();
    refresh();
}

void OutputsPanel::hideEvent(QHideEvent *event)
{
    timer.stop();
    QWidget::hideEvent(event);
}
