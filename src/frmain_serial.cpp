#include "frmain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

void frmain::openCom1_slot()
{
    if (open_button->text() == "打开串口") {
        my_com->setPortName(port_combobox->currentText());
        if (!my_com->open(QIODevice::ReadWrite)) {
            show_message("\n串口打开失败\n请检查串口是否被占用！\n");
            return;
        }
        my_com->flush();
        open_button->setText("关闭串口");
        set_port_choices_enabled(false);

        const QString baud = baud_combobox->currentText();
        if (baud_rate_texts().contains(baud))
            my_com->setBaudRate(baud.toInt(), QSerialPort::AllDirections);

        const QSerialPort::Parity parities[]
            = {QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity,
               QSerialPort::MarkParity, QSerialPort::SpaceParity};
        const int parity = parity_combobox->currentIndex();
        if (parity >= 0 && parity < 5)
            my_com->setParity(parities[parity]);

        const QSerialPort::DataBits data_bits[]
            = {QSerialPort::Data5, QSerialPort::Data6, QSerialPort::Data7, QSerialPort::Data8};
        const int bits = databits_combobox->currentIndex();
        if (bits >= 0 && bits < 4)
            my_com->setDataBits(data_bits[bits]);

        const QSerialPort::StopBits stop_bits[]
            = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};
        const int stop = stopbits_combobox->currentIndex();
        if (stop >= 0 && stop < 3)
            my_com->setStopBits(stop_bits[stop]);

        my_com->setFlowControl(QSerialPort::NoFlowControl);

        Sleep(1000);
        connect(my_com, SIGNAL(readyRead()), this, SLOT(ReadMyCom_slot()), Qt::UniqueConnection);
    } else {
        my_com->flush();
        my_com->close();
        show_message("串口关闭成功！");
        open_button->setText("打开串口");
        set_port_choices_enabled(true);
    }
}

void frmain::set_port_choices_enabled(bool enabled)
{
    port_combobox->setEnabled(enabled);
    baud_combobox->setEnabled(enabled);
    databits_combobox->setEnabled(enabled);
    parity_combobox->setEnabled(enabled);
    stopbits_combobox->setEnabled(enabled);
}

void frmain::ReadMyCom_slot()
{
    if (read_paused)
        return;
    if (my_com->bytesAvailable() <= 0)
        return;

    const QByteArray chunk = my_com->readAll();
    const QString chunk_text = chunk_decoder.decode(chunk);
    line_framer.append(read_buffer, chunk_text);

    QString line;
    while (line_framer.take_line(read_buffer, &line))
        show_line(line);

    if (configuring)
        append_status(chunk_text);
    else
        record_chunk(chunk);
}

void frmain::show_line(const QString &line)
{
    field_list = split_fields(line);
    if (field_list.size() == 2) {
        temp_text = field_list.at(1);
        temp_lineedit->setText(temp_text);
        speed_text = field_list.at(0);
    } else if (field_list.size() == 1) {
        temp_lineedit->setText("0000.000");
        speed_text = field_list.at(0);
    } else {
        return;
    }

    QString average;
    if (average_step(avg_sum, avg_count, avg_points, speed_text, &average))
        avg_speed_lineedit->setText(average);
    speed_lineedit->setText(speed_text);

    append_status("$ " + line);
}

// A device that is gone makes the port raise read errors without end; close
// it once and tell the operator, from outside the reader.
void frmain::port_error(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    if (!my_com->isOpen())
        return;

    ReadMyCom_slot();
    my_com->close();
    open_button->setText("打开串口");
    set_port_choices_enabled(true);
    QTimer::singleShot(0, this, [] { show_message("\n串口连接已断开\n请检查设备连接！\n"); });
}
