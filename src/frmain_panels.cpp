#include "frmain.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

const QStringList &baud_rate_texts()
{
    static const QStringList texts = {"2400", "4800", "9600", "19200", "38400", "57600", "115200"};
    return texts;
}

void frmain::data_setting()
{
    top_groupbox = new QGroupBox;
    com_groupbox = new QGroupBox;
    display_groupbox = new QGroupBox;

    port_label = new QLabel;
    baud_label = new QLabel;
    databits_label = new QLabel;
    parity_label = new QLabel;
    stopbits_label = new QLabel;
    speed_label = new QLabel;
    avg_speed_label = new QLabel;
    temp_label = new QLabel;
    speed_unit_label = new QLabel;
    avg_speed_unit_label = new QLabel;
    temp_unit_label = new QLabel;

    speed_lineedit = new QLineEdit;
    avg_speed_lineedit = new QLineEdit;
    temp_lineedit = new QLineEdit;

    port_combobox = new QComboBox;
    baud_combobox = new QComboBox;
    databits_combobox = new QComboBox;
    parity_combobox = new QComboBox;
    stopbits_combobox = new QComboBox;

    open_button = new QPushButton;

    const QString display_style = "border: 2px solid gray;border-radius: 5px;padding: 0 8px;"
                                  "background: black;selection-background-color: black;"
                                  "color: red;cursorVisible : true";
    QLineEdit *displays[] = {speed_lineedit, avg_speed_lineedit, temp_lineedit};
    for (QLineEdit *display : displays)
        display->setStyleSheet(display_style);

    port_label->setText("串口号：");
    baud_label->setText("波特率：");
    databits_label->setText("数据位：");
    parity_label->setText("校验位：");
    stopbits_label->setText("停止位：");
    open_button->setText("打开串口");
    com_groupbox->setTitle("串口参数设置");
    display_groupbox->setTitle("数据显示");

    const QFont display_font("Times", 30, 75);
    for (QLineEdit *display : displays) {
        display->setMinimumHeight(50);
        display->setFont(display_font);
        display->setText("0000.000");
        display->setAlignment(Qt::AlignCenter);
    }
    const QFont caption_font("Helvetica", 25, 75);
    speed_label->setFont(caption_font);
    avg_speed_label->setFont(caption_font);
    temp_label->setFont(caption_font);
    for (QLineEdit *display : displays)
        display->setEnabled(false);

    // Any port name or device path may be typed in as well: on Linux a bare
    // "COM1" only means /dev/COM1.
    port_combobox->setEditable(true);
    port_combobox->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 1; i <= 11; ++i)
        port_combobox->addItem(QString("COM%1").arg(i));
    baud_combobox->addItems(baud_rate_texts());
    baud_combobox->setCurrentIndex(2);
    databits_combobox->addItems({"5", "6", "7", "8"});
    databits_combobox->setCurrentIndex(3);
    parity_combobox->addItems({"NONE ", "ODD ", "EVEN ", "MARK ", "SPACE "});
    stopbits_combobox->addItems({"1  bit", "1.5bit", "2  bit"});

    speed_unit_label->setText("m/s");
    avg_speed_unit_label->setText("m/s");
    temp_unit_label->setText("℃");
    speed_label->setText("实时声速:");
    avg_speed_label->setText("平均声速:");
    temp_label->setText("实时温度:");
    const QFont unit_font("Times", 17, 75);
    speed_unit_label->setFont(unit_font);
    avg_speed_unit_label->setFont(unit_font);
    temp_unit_label->setFont(unit_font);

    QGridLayout *com_layout = new QGridLayout;
    com_layout->addWidget(port_label, 1, 1, 1, 2);
    com_layout->addWidget(baud_label, 2, 1, 1, 2);
    com_layout->addWidget(databits_label, 3, 1, 1, 2);
    com_layout->addWidget(parity_label, 4, 1, 1, 2);
    com_layout->addWidget(stopbits_label, 5, 1, 1, 2);
    com_layout->addWidget(port_combobox, 1, 3, 1, 2);
    com_layout->addWidget(baud_combobox, 2, 3, 1, 2);
    com_layout->addWidget(databits_combobox, 3, 3, 1, 2);
    com_layout->addWidget(parity_combobox, 4, 3, 1, 2);
    com_layout->addWidget(stopbits_combobox, 5, 3, 1, 2);
    com_layout->addWidget(open_button, 6, 1, 1, 4);
    com_groupbox->setLayout(com_layout);

    QGridLayout *display_layout = new QGridLayout;
    display_layout->addWidget(speed_label, 1, 1, 1, 1);
    display_layout->addWidget(avg_speed_label, 2, 1, 1, 1);
    display_layout->addWidget(temp_label, 3, 1, 1, 1);
    display_layout->addWidget(speed_lineedit, 1, 2, 1, 3);
    display_layout->addWidget(avg_speed_lineedit, 2, 2, 1, 3);
    display_layout->addWidget(temp_lineedit, 3, 2, 1, 3);
    display_layout->addWidget(speed_unit_label, 1, 5, 1, 1);
    display_layout->addWidget(avg_speed_unit_label, 2, 5, 1, 1);
    display_layout->addWidget(temp_unit_label, 3, 5, 1, 1);
    display_groupbox->setLayout(display_layout);

    QGridLayout *top_layout = new QGridLayout;
    top_layout->addWidget(com_groupbox, 1, 1, 6, 1);
    top_layout->addWidget(display_groupbox, 1, 2, 6, 3);
    top_groupbox->setLayout(top_layout);

    connect(open_button, SIGNAL(clicked()), this, SLOT(openCom1_slot()));
}

void frmain::machine_setting()
{
    machine_container = new QGroupBox;
    machine_groupbox = new QGroupBox;
    machine_baud_label = new QLabel;
    outrate_label = new QLabel;
    range_label = new QLabel;
    format_label = new QLabel;
    temp_output_label = new QLabel;
    machine_baud_combobox = new QComboBox;
    outrate_lineedit = new QLineEdit;
    format_combobox = new QComboBox;
    temp_output_combobox = new QComboBox;
    output_lineedit = new QLineEdit;
    send_config_button = new QPushButton;
    save_config_button = new QPushButton;
    save_data_button = new QPushButton;
    avg_button = new QPushButton;
    avg_label = new QLabel;
    avg_lineedit = new QLineEdit;

    output_lineedit->setEnabled(false);
    output_lineedit->setStyleSheet("height:20px");

    const QFont entry_font("SansSerif", 8, 75);
    outrate_lineedit->setFont(entry_font);
    outrate_lineedit->setAlignment(Qt::AlignCenter);
    outrate_lineedit->setText("8");
    avg_lineedit->setFont(entry_font);
    avg_lineedit->setAlignment(Qt::AlignCenter);
    avg_lineedit->setText("5");

    machine_groupbox->setTitle("声速仪配置区");
    machine_baud_label->setText("声速仪波特率： ");
    outrate_label->setText("声速仪输出速率：");
    range_label->setText("范围: (1-30)");
    format_label->setText("声速仪输出格式： ");
    temp_output_label->setText("温 度 输 出 ： ");
    avg_label->setText("平均声速点数：");
    avg_button->setText("设置点数");
    send_config_button->setText("发送配置");
    save_config_button->setText("保存配置");
    save_data_button->setText("保存数据");

    machine_baud_combobox->addItems(baud_rate_texts());
    machine_baud_combobox->setCurrentIndex(2);
    format_combobox->addItems({"默认格式", "格式一", "格式二"});
    format_combobox->setEnabled(false);
    temp_output_combobox->addItems({"允 许  ", "禁 止  "});

    QGridLayout *machine_layout = new QGridLayout;
    machine_layout->addWidget(machine_baud_label, 1, 1, 1, 1);
    machine_layout->addWidget(machine_baud_combobox, 1, 2, 1, 1);
    machine_layout->addWidget(outrate_label, 1, 3, 1, 1);
    machine_layout->addWidget(outrate_lineedit, 1, 4, 1, 5);
    machine_layout->addWidget(range_label, 1, 9, 1, 1);
    machine_layout->addWidget(temp_output_label, 2, 1, 1, 1);
    machine_layout->addWidget(temp_output_combobox, 2, 2, 1, 1);
    machine_layout->addWidget(format_label, 2, 3, 1, 1);
    machine_layout->addWidget(output_lineedit, 2, 4, 1, 5);
    machine_layout->addWidget(format_combobox, 2, 9, 1, 1);
    machine_layout->addWidget(avg_label, 3, 1, 1, 1);
    machine_layout->addWidget(avg_lineedit, 3, 2, 1, 1);
    machine_layout->addWidget(avg_button, 3, 3, 1, 1);
    machine_layout->addWidget(send_config_button, 3, 5, 1, 1);
    machine_layout->addWidget(save_config_button, 3, 7, 1, 1);
    machine_layout->addWidget(save_data_button, 3, 9, 1, 1);
    machine_groupbox->setLayout(machine_layout);

    QGridLayout *container_layout = new QGridLayout;
    container_layout->addWidget(machine_groupbox);
    machine_container->setLayout(container_layout);
}

void frmain::status_setting()
{
    status_groupbox = new QGroupBox;
    status_groupbox->setTitle("状态显示区");
    status_textedit = new QTextEdit;
    QHBoxLayout *status_layout = new QHBoxLayout;
    status_textedit->setFont(QFont("Times", 10, 75));
    status_textedit->setReadOnly(true);
    // The pane only ever grows at its end; an undo history would keep every
    // paragraph trimmed from it.
    status_textedit->setUndoRedoEnabled(false);
    status_layout->addWidget(status_textedit);
    status_groupbox->setLayout(status_layout);
}
