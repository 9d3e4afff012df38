#include "frmain.h"
#include "statuspane.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>

frmain::frmain(QWidget *parent) : QWidget(parent)
{
    data_file = new QFile;

    data_setting();
    machine_setting();
    status_setting();

    my_com = new QSerialPort(this);
    connect(my_com, &QSerialPort::errorOccurred, this, &frmain::port_error);

    QGridLayout *main_layout = new QGridLayout(this);
    main_layout->addWidget(top_groupbox, 1, 1, 5, 4);
    main_layout->addWidget(machine_container, 6, 1, 4, 4);
    main_layout->addWidget(status_groupbox, 10, 1, 1, 4);

    every_connect();

    configuring = false;
    read_paused = false;
    avg_sum = 0.0;
    avg_count = 0;
    avg_points = 5;

    setObjectName("mainwindow");
    status_textedit->setObjectName("staus_show");
    output_lineedit->setObjectName("output_lineedit");
    outrate_lineedit->setObjectName("outrate_lineedit");
    avg_lineedit->setObjectName("avg_lineedit");
}

frmain::~frmain()
{
    delete data_file;
}

void frmain::every_connect()
{
    connect(save_data_button, SIGNAL(clicked()), this, SLOT(save_data_slot()));
    connect(send_config_button, SIGNAL(clicked()), this, SLOT(setting_button_slot()));
    connect(save_config_button, SIGNAL(clicked()), this, SLOT(save_setting_slot()));
    connect(avg_button, SIGNAL(clicked()), this, SLOT(avg_point_slot()));
    connect(outrate_lineedit, SIGNAL(textEdited(QString)), this,
            SLOT(outrange_warning_slot(QString)));
}

void frmain::keyPressEvent(QKeyEvent *event)
{
    qDebug("%d", event->text().toInt(nullptr, 10));
}

void frmain::closeEvent(QCloseEvent *)
{
    data_file->close();
}

void frmain::append_status(const QString &text)
{
    append_to_pane(status_textedit, text);
}

void show_message(const QString &text)
{
    QMessageBox box;
    box.setText(text);
    box.exec();
}
