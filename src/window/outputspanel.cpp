#include "outputspanel.h"
#include "tabstyle.h"

#include "messagebox.h"
#include "outputeditor.h"
#include "outputhub.h"
#include "outputlist.h"
#include "qualitysection.h"

#include <QHBoxLayout>
#include <QLabel>
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

} // namespace

OutputsPanel::OutputsPanel(OutputHub *output_hub, QualityCheck *quality_check, QWidget *parent)
    : QWidget(parent), hub(output_hub), quality(quality_check)
{
    // Small enough for four outputs, counts of seven digits and the editing
    // row in the tab's height. By style sheet: under the program's, a font
    // set here would not reach the fields, and its labels are large and
    // centred.
    setStyleSheet(compact_buttons()
                  + QStringLiteral("QTableView, QHeaderView, QLineEdit, QCheckBox, QLabel"
                                   " { font-size: 8pt; }"
                                   " QLabel { qproperty-alignment: 'AlignLeft | AlignVCenter'; }"));
    table = new OutputList;
    editor = new OutputEditor;

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
    column->addWidget(build_notes());

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
    add_button = button(tr("添加"), "add");
    change_button = button(tr("修改"), "change");
    remove_button = button(tr("删除"), "remove");
    add_button->setToolTip(tr("按左侧各项新增一个输出"));
    change_button->setToolTip(tr("把左侧各项用于选中的输出"));
    for (QPushButton *b : {add_button, change_button, remove_button})
        row->addWidget(b);
    connect(add_button, &QPushButton::clicked, this, &OutputsPanel::add_output);
    connect(change_button, &QPushButton::clicked, this, &OutputsPanel::change_output);
    connect(remove_button, &QPushButton::clicked, this, &OutputsPanel::remove_output);
    return box;
}

QWidget *OutputsPanel::build_notes()
{
    notes = new QWidget;
    auto *row = new QHBoxLayout(notes);
    row->setContentsMargins(0, 0, 0, 0);
    message = new QLabel;
    message->setObjectName("message");
    message->setStyleSheet("color: #c00000;");
    message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    link_line = new QLabel;
    link_line->setObjectName("link_line");
    row->addWidget(message, 1);
    row->addWidget(link_line);
    notes->setVisible(false);
    return notes;
}

// Set in the settings tab; here beside the gate they drive.
void OutputsPanel::show_limits()
{
    editor->show_good(tr("%1（在“设置 › 质量”中修改）").arg(limits_text(*quality)));
}

void OutputsPanel::refresh()
{
    if (!isVisible())
        return;
    table->show_outputs(hub->configs(), hub->statuses());
    show_limits();
    show_notes();
}

void OutputsPanel::show_notes()
{
    const QString link = link_text ? link_text() : QString();
    link_line->setText(link);
    link_line->setVisible(!link.isEmpty());
    notes->setVisible(!link.isEmpty() || !message->text().isEmpty());
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
        return show_message(tr("最多只能设置 %n 个输出", nullptr, OutputHub::max_outputs));
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
    if (row < 0 || row >= hub->count())
        return;
    if (hub->status(row).state == OutputState::sending
        && !ask_yes_no(tr("输出 %1（%2）正在发送，删除后接收方将收不到数据。删除吗？")
                           .arg(row + 1)
                           .arg(hub->config(row).to_text())))
        return;
    hub->remove(row);
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

void OutputsPanel::show_message(const QString &text)
{
    message->setText(text);
    message->setToolTip(text);
    show_notes();
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
