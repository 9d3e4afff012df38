#include "frmain.h"
#include "screenpainter.h"
#include "timetext.h"

#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

static const char open_caption[] = QT_TRANSLATE_NOOP("frmain", "打开串口");
static const char close_caption[] = QT_TRANSLATE_NOOP("frmain", "关闭串口");

void frmain::openCom1_slot()
{
    if (core->session()->active()) {
        core->close();
        close_loss_notice();
        show_message(tr("串口关闭成功！"));
        show_port_state();
        return;
    }
    if (!core->open(chosen_port_settings())) {
        show_message(tr("\n串口打开失败\n%1\n").arg(core->session()->failure_reason()));
        return;
    }
    show_port_state();
    Sleep(open_settle_ms);
    connect(my_com, &QSerialPort::readyRead, this, &frmain::ReadMyCom_slot, Qt::UniqueConnection);
}

bool frmain::open_at_start()
{
    const bool opened = core->open_or_wait(chosen_port_settings());
    if (!opened)
        pane_note(tr("串口打开失败：%1，每秒重试").arg(core->session()->failure_reason()));
    show_port_state();
    connect(my_com, &QSerialPort::readyRead, this, &frmain::ReadMyCom_slot, Qt::UniqueConnection);
    return opened;
}

// The caption and the locked line settings follow the session: a port that
// is awaited after an unplug still belongs to it.
void frmain::show_port_state()
{
    const bool active = core->session()->active();
    open_button->setText(tr(active ? close_caption : open_caption));
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
    core->take(my_com->readAll());
    read_buffer = QString::fromUtf8(core->acquisition().stream().pending());
    screen->request();
}

// Everything a line changes on the screen, at once; the screen follows on the
// next frame.
int frmain::take(const Measurement &measurement)
{
    const Reading &reading = measurement.reading;
    if (reading.format_decided)
        screen->release_unrecognised(reading.format != FormatId::dollar);
    field_list = reading.fields;
    screen->add_received(reading.line, measurement.utc_ms);
    speed_text = reading.speed_text;
    if (reading.has_temperature)
        temp_text = reading.temperature_text;
    // A probe that measures no temperature shows none, not a plausible 0 degC;
    // the default instrument with its temperature off shows as it always did.
    screen->next().set_temperature(reading.has_temperature ? temp_text
                                       : reading.format == FormatId::dollar
                                       ? idle_display()
                                       : QStringLiteral("----"));
    screen->next().set_average(measurement.average.isEmpty() ? idle_display()
                                                             : measurement.average);
    screen->next().set_speed(speed_text);
    avg_sum = core->acquisition().average().sum();
    avg_count = core->acquisition().average().count();
    return 0;
}

// Back to fresh with the next frame that shows a new speed.
void frmain::stale(bool stale, qint64)
{
    if (stale)
        screen->set_stale(true);
}

void frmain::reject(const Reading &line, qint64 utc_ms)
{
    if (!line.shown())
        return;
    if (!line.recognised) {
        screen->hold_unrecognised(line.line, utc_ms);
        return;
    }
    if (line.format_decided)
        screen->release_unrecognised(line.format != FormatId::dollar);
    field_list = line.fields;
    screen->add_received(line.line, utc_ms);
}

// The station kept what the device delivered last and ended any exchange.
// The notice is not modal, so the window stays usable, and it closes by
// itself when the device is back; the pane, the log and the alarms keep
// the loss.
void frmain::port_lost()
{
    read_buffer = QString::fromUtf8(core->acquisition().stream().pending());
    pane_note(tr("串口连接已断开，正在等待设备重新连接"));
    if (loss_notice)
        return;
    loss_notice = new QMessageBox(this);
    loss_notice->setObjectName("loss_notice");
    loss_notice->setText(tr("\n串口连接已断开\n正在等待设备重新连接……\n"));
    loss_notice->setWindowModality(Qt::NonModal);
    loss_notice->setAttribute(Qt::WA_DeleteOnClose);
    loss_notice->show();
}

void frmain::port_back()
{
    pane_note(tr("串口已重新连接"));
    close_loss_notice();
}

void frmain::close_loss_notice()
{
    if (loss_notice)
        loss_notice->close();
}

// A line of the program's own in the pane, with the local time and its zone.
void frmain::pane_note(const QString &text)
{
    screen->add_note(QStringLiteral("[%1] %2\n").arg(local_time_text(core->now_ms()), text));
    screen->request();
}
