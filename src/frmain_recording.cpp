#include "frmain.h"

#include <QDateTime>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>

static QByteArray date_time_line()
{
    return QDateTime::currentDateTime().toString("yyyy_MM_dd_hh_mm_ss").toLatin1() + "\r\n";
}

bool frmain::save_data_slot()
{
    read_paused = true;

    if (save_data_button->text() == "保存数据") {
        save_data_button->setText("停止保存");
        data_file->close();
        data_file_name = QFileDialog::getSaveFileName(this, "保存数据为", data_file_name,
                                                      "文本(*.txt );自定义文件(*.*);");
        if (data_file_name.isEmpty()) {
            read_paused = false;
            save_data_button->setText("保存数据");
            return false;
        }
        data_file->setFileName(data_file_name);
        if (!data_file->open(QIODevice::WriteOnly | QIODevice::Text)) {
            read_paused = false;
            save_data_button->setText("保存数据");
            show_message("\n文件打开失败\n请检查路径和权限！\n");
            return false;
        }
        record_chunk(date_time_line());
    } else if (save_data_button->text() == "停止保存") {
        save_data_button->setText("保存数据");
        record_chunk(date_time_line());
        data_file->close();
    }

    read_paused = false;
    return true;
}

// Every chunk goes to the operating system at once, so a crash loses nothing
// that was read. A failed write ends the recording and is reported once.
void frmain::record_chunk(const QByteArray &chunk)
{
    if (!data_file->isOpen())
        return;
    if (data_file->write(chunk) == chunk.size() && data_file->flush())
        return;

    data_file->close();
    save_data_button->setText("保存数据");
    QTimer::singleShot(
        0, this, [] { show_message("\n数据写入失败\n已停止保存，请检查磁盘空间和设备！\n"); });
}
