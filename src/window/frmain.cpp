#include "frmain.h"
#include "outputhub.h"
#include "portsession.h"
#include "statuspane.h"
#include "trendmodel.h"
#include "trendview.h"
#include "watersettings.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>

frmain::frmain(QWidget *parent)
    : QWidget(parent), player([this](const QByteArray &bytes) { return write_to_port(bytes); },
                              [this](int ms) {
                                  Sleep(ms);
                                  return !quitting;
                              }),
      frame(status_pane_keep)
{
    data_file = acquisition.recorder().file_object();
    trend_model = new TrendModel(this);
    water = new WaterSettings(this);
    // The screen first: what it shows does not wait for the others.
    acquisition.add_sink(this);
    acquisition.add_sink(trend_model);
    outputs = new OutputHub(this);
    acquisition.add_sink(outputs);
    connect(outputs, &OutputHub::message, this, &frmain::pane_note);
    connect(&acquisition, &Acquisition::replies, this, [this](const QString &text) {
        frame.append_pane(text);
        request_frame();
    });
    connect(&acquisition, &Acquisition::recording_failed, this, &frmain::recording_failed);

    data_setting();
    machine_setting();
    status_setting();
    build_station();

    my_com = new QSerialPort(this);
    session = new PortSession(my_com, this);
    connect(session, &PortSession::lost, this, &frmain::port_lost);
    connect(session, &PortSession::back, this, &frmain::port_back);
    show_port_state();
    show_recording_state();

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
    acquisition.restart_average(avg_points);

    frame_timer.setSingleShot(true);
    connect(&frame_timer, &QTimer::timeout, this, &frmain::paint_frame);
    stale_timer.setSingleShot(true);
    connect(&stale_timer, &QTimer::timeout, this, &frmain::check_stale);
    log_timer.setInterval(MeasurementLog::flush_interval_ms);
    connect(&log_timer, &QTimer::timeout, this,
            [this] { acquisition.flush_log(QDateTime::currentMSecsSinceEpoch()); });

    setObjectName("mainwindow");
    status_textedit->setObjectName("staus_show");
    output_lineedit->setObjectName("output_lineedit");
    outrate_lineedit->setObjectName("outrate_lineedit");
    avg_lineedit->setObjectName("avg_lineedit");
}

frmain::~frmain()
{
    delete trend_window;
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
    stop_recording(false);
    data_file->close();
    if (trend_window)
        trend_window->close();
}

void show_message(const QString &text)
{
    QMessageBox box;
    box.setText(text);
    box.exec();
}
