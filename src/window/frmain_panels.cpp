#include "displayedit.h"
#include "frmain.h"
#include "linechoices.h"
#include "portcombobox.h"
#include "statuspane.h"
#include "statustabs.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>

// What a display shows before its first value, and the temperature display
// for a line without temperature.
QString frmain::idle_display()
{
    return QStringLiteral("0000.000");
}

void frmain::data_setting()
{
    top_groupbox = new QGroupBox;
    com_groupbox = new QGroupBox;
    display_groupbox = new QGroupBox;
    com_groupbox->setTitle(tr("串口参数设置"));
    display_groupbox->setTitle(tr("数据显示"));
    build_port_choices();
    build_display_area();

    QGridLayout *top_layout = new QGridLayout;
    top_layout->addWidget(com_groupbox, 1, 1, 6, 1);
    top_layout->addWidget(display_groupbox, 1, 2, 6, 3);
    top_groupbox->setLayout(top_layout);

    connect(open_button, SIGNAL(clicked()), this, SLOT(openCom1_slot()));
}

// Each choice carries the value it stands for; the texts are what the
// operator has always seen.
void frmain::build_port_choices()
{
    port_combobox = new PortComboBox;
    baud_combobox = new QComboBox;
    databits_combobox = new QComboBox;
    parity_combobox = new QComboBox;
    stopbits_combobox = new QComboBox;
    fill_line_choices(baud_combobox, databits_combobox, parity_combobox, stopbits_combobox);

    QLabel **labels[] = {&port_label, &baud_label, &databits_label, &parity_label, &stopbits_label};
    const char *captions[]
        = {QT_TR_NOOP("串口号："), QT_TR_NOOP("波特率："), QT_TR_NOOP("数据位："),
           QT_TR_NOOP("校验位："), QT_TR_NOOP("停止位：")};
    QComboBox *combos[]
        = {port_combobox, baud_combobox, databits_combobox, parity_combobox, stopbits_combobox};
    QGridLayout *com_layout = new QGridLayout;
    for (int row = 0; row < 5; ++row) {
        *labels[row] = new QLabel(tr(captions[row]));
        com_layout->addWidget(*labels[row], row + 1, 1, 1, 2);
        com_layout->addWidget(combos[row], row + 1, 3, 1, 2);
    }
    open_button = new QPushButton;
    com_layout->addWidget(open_button, 6, 1, 1, 4);
    com_groupbox->setLayout(com_layout);
}

void frmain::build_display_area()
{
    speed_lineedit = new DisplayEdit;
    avg_speed_lineedit = new DisplayEdit;
    temp_lineedit = new DisplayEdit;
    speed_label = new QLabel(tr("实时声速:"));
    avg_speed_label = new QLabel(tr("平均声速:"));
    temp_label = new QLabel(tr("实时温度:"));
    speed_unit_label = new QLabel("m/s");
    avg_speed_unit_label = new QLabel("m/s");
    temp_unit_label = new QLabel("℃");

    QLineEdit *displays[] = {speed_lineedit, avg_speed_lineedit, temp_lineedit};
    QLabel *captions[] = {speed_label, avg_speed_label, temp_label};
    QLabel *units[] = {speed_unit_label, avg_speed_unit_label, temp_unit_label};
    QGridLayout *display_layout = new QGridLayout;
    for (int row = 0; row < 3; ++row) {
        displays[row]->setMinimumHeight(50);
        displays[row]->setFont(QFont("Times", 30, 75));
        displays[row]->setText(idle_display());
        displays[row]->setAlignment(Qt::AlignCenter);
        displays[row]->setEnabled(false);
        captions[row]->setFont(QFont("Helvetica", 25, 75));
        units[row]->setFont(QFont("Times", 17, 75));
        display_layout->addWidget(captions[row], row + 1, 1, 1, 1);
        display_layout->addWidget(displays[row], row + 1, 2, 1, 3);
        display_layout->addWidget(units[row], row + 1, 5, 1, 1);
    }
    display_groupbox->setLayout(display_layout);
}

void frmain::machine_setting()
{
    machine_container = new QGroupBox;
    machine_groupbox = new QGroupBox;
    machine_groupbox->setTitle(tr("声速仪配置区"));
    machine_baud_label = new QLabel(tr("声速仪波特率： "));
    outrate_label = new QLabel(tr("声速仪输出速率："));
    range_label = new QLabel(tr("范围: (1-30)"));
    format_label = new QLabel(tr("声速仪输出格式： "));
    temp_output_label = new QLabel(tr("温 度 输 出 ： "));
    avg_label = new QLabel(tr("平均声速点数："));
    machine_baud_combobox = new QComboBox;
    format_combobox = new QComboBox;
    temp_output_combobox = new QComboBox;
    outrate_lineedit = new QLineEdit("8");
    output_lineedit = new QLineEdit;
    avg_lineedit = new QLineEdit("5");
    avg_button = new QPushButton(tr("设置点数"));
    send_config_button = new QPushButton(tr("发送配置"));
    save_config_button = new QPushButton(tr("保存配置"));
    save_data_button = new QPushButton;

    output_lineedit->setEnabled(false);
    output_lineedit->setStyleSheet("height:20px");
    for (QLineEdit *entry : {outrate_lineedit, avg_lineedit}) {
        entry->setFont(QFont("SansSerif", 8, 75));
        entry->setAlignment(Qt::AlignCenter);
    }
    // Four buttons share the row: at the usual minimum width they would
    // overlap inside the fixed window.
    for (QPushButton *button :
         {avg_button, send_config_button, save_config_button, save_data_button})
        button->setStyleSheet("min-width: 6em;");
    machine_baud_combobox->addItems(baud_rate_texts());
    machine_baud_combobox->setCurrentIndex(2);
    format_combobox->addItems({tr("默认格式"), tr("格式一"), tr("格式二")});
    format_combobox->setEnabled(false);
    temp_output_combobox->addItems({tr("允 许  "), tr("禁 止  ")});
    lay_out_machine_area();
}

void frmain::lay_out_machine_area()
{
    QGridLayout *layout = new QGridLayout;
    const struct
    {
        QWidget *widget;
        int row, column, column_span;
    } cells[] = {
        {machine_baud_label, 1, 1, 1},
        {machine_baud_combobox, 1, 2, 1},
        {outrate_label, 1, 3, 1},
        {outrate_lineedit, 1, 4, 5},
        {range_label, 1, 9, 1},
        {temp_output_label, 2, 1, 1},
        {temp_output_combobox, 2, 2, 1},
        {format_label, 2, 3, 1},
        {output_lineedit, 2, 4, 5},
        {format_combobox, 2, 9, 1},
        {avg_label, 3, 1, 1},
        {avg_lineedit, 3, 2, 1},
        {avg_button, 3, 3, 1},
        {send_config_button, 3, 5, 1},
        {save_config_button, 3, 7, 1},
        {save_data_button, 3, 9, 1},
    };
    for (const auto &cell : cells)
        layout->addWidget(cell.widget, cell.row, cell.column, 1, cell.column_span);
    machine_groupbox->setLayout(layout);

    QGridLayout *container_layout = new QGridLayout;
    container_layout->addWidget(machine_groupbox);
    machine_container->setLayout(container_layout);
}

void frmain::status_setting()
{
    status_groupbox = new QGroupBox;
    status_groupbox->setTitle(tr("状态显示区"));
    status_textedit = new QTextEdit;
    status_textedit->setFont(QFont("Times", 10, 75));
    status_textedit->setReadOnly(true);
    // The pane only ever grows at its end; an undo history would keep every
    // paragraph trimmed from it.
    status_textedit->setUndoRedoEnabled(false);
    set_up_pane(status_textedit);
    status_tabs = new StatusTabs(status_textedit, core);
    QHBoxLayout *status_layout = new QHBoxLayout;
    status_layout->addWidget(status_tabs);
    status_groupbox->setLayout(status_layout);
}
