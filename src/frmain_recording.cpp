#include "frmain.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

static const QString idle_caption = QStringLiteral("保存数据");
static const QString recording_caption = QStringLiteral("停止保存");

bool frmain::save_data_slot()
{
    read_paused = true;
    bool started = true;
    if (recorder.recording())
        stop_recording(true);
    else
        started = start_recording();
    show_recording_state();
    read_paused = false;
    return started;
}

void frmain::show_recording_state()
{
    save_data_button->setText(recorder.recording() ? recording_caption : idle_caption);
}

// The raw recording first; the measurement log beside it is a help, so a
// log that cannot be created does not keep the recording from starting.
bool frmain::start_recording()
{
    save_data_button->setText(recording_caption);
    data_file_name = QFileDialog::getSaveFileName(this, "保存数据为", data_file_name,
                                                  "文本(*.txt );自定义文件(*.*);");
    if (data_file_name.isEmpty())
        return false;
    if (!recorder.start(data_file_name, QDateTime::currentDateTime())) {
        show_message("\n文件打开失败\n请检查路径和权限！\n");
        return false;
    }
    const QString log_path = MeasurementLog::path_for(data_file_name);
    if (measurement_log.start(log_path, QDateTime::currentMSecsSinceEpoch())) {
        log_timer.start();
        pane_note("测量记录（CSV）：" + QFileInfo(log_path).fileName());
    } else {
        show_message("\n测量记录文件无法创建\n" + log_path + "\n" + measurement_log.error_string()
                     + "\n原始数据照常保存。\n");
    }
    return true;
}

void frmain::stop_recording(bool write_end_line)
{
    if (write_end_line)
        recorder.stop(QDateTime::currentDateTime());
    else
        recorder.close();
    measurement_log.stop();
    log_timer.stop();
}

// A failed write stops both files and is reported once, from outside the reader.
void frmain::recording_failed()
{
    recorder.close();
    measurement_log.stop();
    log_timer.stop();
    show_recording_state();
    QTimer::singleShot(
        0, this, [] { show_message("\n数据写入失败\n已停止保存，请检查磁盘空间和设备！\n"); });
}

void frmain::log_event(const char *event)
{
    if (measurement_log.active()
        && !measurement_log.add_event(QDateTime::currentMSecsSinceEpoch(), event))
        recording_failed();
}
