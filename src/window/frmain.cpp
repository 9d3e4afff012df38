#include "frmain.h"
#include "recordingflow.h"
#include "screenpainter.h"
#include "statuspane.h"
#include "statustabs.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

frmain::frmain(QWidget *parent) : QWidget(parent)
{
    // The port and everything it feeds come first: the recording file is
    // the pipeline's, and the areas show what the pipeline holds.
    setWindowTitle(tr("声速仪显示配置终端V1.0"));
    my_com = new QSerialPort(this);
    core = new Station(my_com, this, this);
    core->set_pause([this](int ms) {
        Sleep(ms);
        return !quitting;
    });
    data_file = core->acquisition().recorder().file_object();
    connect(core, &Station::message, this, &frmain::pane_note);
    connect(core, &Station::replies, this, [this](const QString &text) {
        screen->add_received(text, core->now_ms());
        screen->request();
    });
    connect(core, &Station::exchange_ended, this, [this](const QString &replies) {
        status_tabs->show_last_exchange(replies);
        pane_note(tr("配置结束，仪器的回复可在“上次配置回复”中查看"));
    });
    connect(core, &Station::port_lost, this, &frmain::port_lost);
    connect(core, &Station::port_back, this, &frmain::port_back);

    data_setting();
    machine_setting();
    status_setting();
    screen = new ScreenPainter(speed_lineedit, avg_speed_lineedit, temp_lineedit, status_textedit,
                               status_tabs, this);
    build_station();
    recording = new RecordingFlow(this);
    show_port_state();
    recording->show_state();

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
    core->set_average_points(avg_points);
    core->choose_port(chosen_port_settings());

    setObjectName("mainwindow");
    status_textedit->setObjectName("staus_show");
    output_lineedit->setObjectName("output_lineedit");
    outrate_lineedit->setObjectName("outrate_lineedit");
    avg_lineedit->setObjectName("avg_lineedit");
}

frmain::~frmain() = default;

bool frmain::save_data_slot()
{
    return recording->toggle();
}

QString frmain::record_into(const QString &folder, QString *problem)
{
    return recording->record_into(folder, problem);
}

void frmain::every_connect()
{
    connect(save_data_button, &QPushButton::clicked, this, &frmain::save_data_slot);
    connect(send_config_button, &QPushButton::clicked, this, &frmain::setting_button_slot);
    connect(save_config_button, &QPushButton::clicked, this, &frmain::save_setting_slot);
    connect(avg_button, &QPushButton::clicked, this, &frmain::avg_point_slot);
    connect(outrate_lineedit, &QLineEdit::textEdited, this, &frmain::outrange_warning_slot);
}

void frmain::keyPressEvent(QKeyEvent *event)
{
    qDebug("%d", event->text().toInt(nullptr, 10));
}

// The raw recording keeps everything received but, as always on closing the
// window, no end line; the measurement log gets everything up to now.
void frmain::closeEvent(QCloseEvent *)
{
    if (my_com->isOpen())
        ReadMyCom_slot();
    core->stop_recording(false);
    data_file->close();
    status_tabs->close_detached();
}
