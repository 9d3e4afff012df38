#include "frmain.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

static const QString idle_caption = QStringLiteral("保存数据");
static const QString recording_caption = QStringLiteral("停止保存");

// Reading goes on while the operator picks a file: the displays, the trend
// and the outputs keep up, and the raw bytes of meanwhile wait for the file.
bool frmain::save_data_slot()
{
    bool started = true;
    if (core->acquisition().recording())
        core->stop_recording(true);
    else
        started = start_recording();
    show_recording_state();
    return started;
}

void frmain::show_recording_state()
{
    tell_trend_session();
    save_data_button->setText(core->acquisition().recording() ? recording_caption : idle_caption);
}

// The raw recording first; the measurement log beside it is a help, so a
// log that cannot be created does not keep the recording from starting.
bool frmain::start_recording()
{
    save_data_button->setText(recording_caption);
    core->acquisition().hold_raw(true);
    data_file_name = QFileDialog::getSaveFileName(this, "保存数据为", data_file_name,
                                                  "文本(*.txt );自定义文件(*.*);");
    QString log_error;
    const bool started
        = !data_file_name.isEmpty() && core->start_recording(data_file_name, &log_error);
    core->acquisition().hold_raw(false);
    if (data_file_name.isEmpty())
        return false;
    if (!started) {
        show_message("\n文件打开失败\n请检查路径和权限！\n");
        return false;
    }
    recording_started(log_error, false);
    return true;
}

// What follows a started recording, chosen in the dialog or unattended: the
// log's name in the pane, or why there is no log, in a box only when someone
// is there to close it.
void frmain::recording_started(const QString &log_error, bool unattended)
{
    const QString log_path = core->acquisition().log().file_name();
    if (log_error.isEmpty()) {
        pane_note("测量记录（CSV）：" + QFileInfo(log_path).fileName());
        return;
    }
    const QString problem
        = "\n测量记录文件无法创建\n" + log_path + "\n" + log_error + "\n原始数据照常保存。\n";
    if (unattended)
        pane_note(problem.simplified());
    else
        show_message(problem);
}

// A failed write stopped both files; said once, from outside the reader.
void frmain::recording_failed()
{
    show_recording_state();
    QTimer::singleShot(
        0, this, [] { show_message("\n数据写入失败\n已停止保存，请检查磁盘空间和设备！\n"); });
}
