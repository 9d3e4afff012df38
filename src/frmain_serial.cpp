#include "frmain.h"
#include "portsession.h"
#include "trendmodel.h"

#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

static const QString open_caption = QStringLiteral("打开串口");
static const QString close_caption = QStringLiteral("关闭串口");

void frmain::openCom1_slot()
{
    if (session->active()) {
        session->close();
        show_message("串口关闭成功！");
        show_port_state();
        return;
    }
    if (!session->open(chosen_port_settings())) {
        show_message("\n串口打开失败\n" + session->failure_reason() + "\n");
        return;
    }
    show_port_state();
    Sleep(1000);
    connect(my_com, SIGNAL(readyRead()), this, SLOT(ReadMyCom_slot()), Qt::UniqueConnection);
}

// The caption and the locked line settings follow the session: a port that
// is awaited after an unplug still belongs to it.
void frmain::show_port_state()
{
    const bool active = session->active();
    open_button->setText(active ? close_caption : open_caption);
    for (QComboBox *choice :
         {port_combobox, baud_combobox, databits_combobox, parity_combobox, stopbits_combobox})
        choice->setEnabled(!active);
}

PortSettings frmain::chosen_port_settings() const
{
    PortSettings settings;
    settings.name = port_combobox->currentText();
    settings.baud = baud_combobox->currentData().toInt();
    settings.data_bits = QSerialPort::DataBits(databits_combobox->currentData().toInt());
    settings.parity = QSerialPort::Parity(parity_combobox->currentData().toInt());
    settings.stop_bits = QSerialPort::StopBits(stopbits_combobox->currentData().toInt());
    return settings;
}

void frmain::ReadMyCom_slot()
{
    if (read_paused || my_com->bytesAvailable() <= 0)
        return;
    const QByteArray chunk = my_com->readAll();
    // Readings keep their order in time even if the clock is set back.
    const qint64 now_ms = last_read_ms = qMax(last_read_ms, QDateTime::currentMSecsSinceEpoch());
    QString text;
    for (const Reading &reading : stream.feed(chunk, &text))
        take_reading(reading, now_ms);
    read_buffer = QString::fromUtf8(stream.pending());
    hand_on(chunk, text);
    request_frame();
}

// Everything a line changes, at once; the screen follows on the next frame.
void frmain::take_reading(const Reading &reading, qint64 now_ms)
{
    if (!reading.valid)
        trend_model->set_malformed_count(stream.malformed_count());
    if (!reading.shown())
        return;
    field_list = reading.fields;
    frame.append_pane(reading.line);
    if (!reading.valid)
        return;
    speed_text = reading.speed_text;
    if (reading.has_temperature)
        temp_text = reading.temperature_text;
    frame.set_temperature(reading.has_temperature ? temp_text : idle_display());
    if (average.add(reading.speed, speed_text, &shown_average))
        frame.set_average(shown_average);
    avg_sum = average.sum();
    avg_count = average.count();
    frame.set_speed(speed_text);
    stale_watch.seen(now_ms);

    const double no_value = qQNaN();
    const double average_value = shown_average.isEmpty() ? no_value : shown_average.toDouble();
    const Quality quality
        = trend_model->add(now_ms, reading.speed, average_value,
                           reading.has_temperature ? reading.temperature : no_value);
    if (measurement_log.active()
        && !measurement_log.add_reading(now_ms,
                                        {speed_text.trimmed(), reading.temperature_text.trimmed(),
                                         shown_average.trimmed(), quality_name(quality)}))
        recording_failed();
}

// While configuring, the instrument's replies go to the pane, not the file.
void frmain::hand_on(const QByteArray &chunk, const QString &text)
{
    if (configuring)
        frame.append_pane(text);
    else if (recorder.recording() && !recorder.append(chunk))
        recording_failed();
}

// Keeps what the device delivered last, closes the port (the session does)
// and tells the operator once, from outside the reader.
void frmain::port_lost()
{
    ReadMyCom_slot();
    log_event("port_lost");
    pane_note("串口连接已断开，正在等待设备重新连接");
    if (loss_box_open)
        return;
    loss_box_open = true;
    QTimer::singleShot(0, this, [this] {
        show_message("\n串口连接已断开\n正在等待设备重新连接……\n");
        loss_box_open = false;
    });
}

void frmain::port_back()
{
    log_event("port_back");
    pane_note("串口已重新连接");
}

// A line of the program's own in the pane, with the local time.
void frmain::pane_note(const QString &text)
{
    frame.append_pane(QStringLiteral("[%1] %2\n")
                          .arg(QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss"), text));
    request_frame();
}
