#include "recordingflow.h"

#include "frmain.h"
#include "statustabs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

static const char idle_caption[] = QT_TRANSLATE_NOOP("RecordingFlow", "保存数据");
static const char recording_caption[] = QT_TRANSLATE_NOOP("RecordingFlow", "停止保存");

RecordingFlow::RecordingFlow(frmain *window) : QObject(window), window(window)
{
    connect(window->station(), &Station::recording_failed, this, &RecordingFlow::failed);
}

bool RecordingFlow::toggle()
{
    bool started = true;
    if (window->station()->acquisition().recording())
        window->station()->stop_recording(true);
    else
        started = start_with_dialog();
    show_state();
    return started;
}

// Reading goes on while the operator picks a file: the displays, the trend
// and the outputs keep up, and the raw bytes of meanwhile wait for the file.
// The raw recording first; the measurement log beside it is a help, so a
// log that cannot be created does not keep the recording from starting.
bool RecordingFlow::start_with_dialog()
{
    Station *station = window->station();
    window->save_data_button->setText(tr(recording_caption));
    station->acquisition().hold_raw(true);
    QString &path = window->data_file_name;
    path = QFileDialog::getSaveFileName(window, tr("保存数据为"), path,
                                        tr("文本(*.txt );自定义文件(*.*);"));
    QString log_error;
    const bool recording = !path.isEmpty() && station->start_recording(path, &log_error);
    station->acquisition().hold_raw(false);
    if (path.isEmpty())
        return false;
    if (!recording) {
        show_message(tr("\n文件打开失败\n请检查路径和权限！\n"));
        return false;
    }
    started(log_error, false);
    return true;
}

QString RecordingFlow::record_into(const QString &folder, QString *problem)
{
    QString log_error;
    const QString path = window->station()->record_into(folder, &log_error, problem);
    if (path.isEmpty()) {
        window->tell(*problem);
        return path;
    }
    window->data_file_name = path;
    window->tell(tr("开始保存数据：%1").arg(path));
    started(log_error, true);
    show_state();
    return path;
}

// The log's name in the pane, or why there is no log, in a box only when
// someone is there to close it.
void RecordingFlow::started(const QString &log_error, bool unattended)
{
    const QString log_path = window->station()->acquisition().log().file_name();
    if (log_error.isEmpty()) {
        window->tell(tr("测量记录（CSV）：%1").arg(QFileInfo(log_path).fileName()));
        return;
    }
    const QString problem
        = tr("\n测量记录文件无法创建\n%1\n%2\n原始数据照常保存。\n").arg(log_path, log_error);
    if (unattended)
        window->tell(problem.simplified());
    else
        show_message(problem);
}

// A failed write stopped both files; said once, from outside the reader.
void RecordingFlow::failed()
{
    show_state();
    QTimer::singleShot(
        0, this, [] { show_message(tr("\n数据写入失败\n已停止保存，请检查磁盘空间和设备！\n")); });
}

void RecordingFlow::show_state()
{
    Acquisition &pipeline = window->station()->acquisition();
    window->save_data_button->setText(tr(pipeline.recording() ? recording_caption : idle_caption));
    SessionInfo info;
    if (pipeline.recording()) {
        info.recording = pipeline.recorder().file_name();
        info.log = pipeline.log().file_name();
    }
    info.port = window->port_combobox->currentText();
    info.line_settings = QStringList{window->baud_combobox->currentText(),
                                     window->databits_combobox->currentText(),
                                     window->parity_combobox->currentText(),
                                     window->stopbits_combobox->currentText()}
                             .join(' ');
    info.configuration = window->station()->sent_configuration();
    const Station *station = window->station();
    info.input_format = QString::fromLatin1(station->format() ? format_name(*station->format())
                                                              : station->input().format.name());
    window->status_area()->set_session(info);
}
