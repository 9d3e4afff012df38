#include "frmain.h"
#include "recordingflow.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

// Serves events of every kind until sec milliseconds have passed on the
// monotonic clock, sleeping while nothing is pending.
void frmain::Sleep(int sec)
{
    if (sec <= 0 || quitting)
        return;
    const qint64 deadline = qint64(sec) * 1000000;
    QElapsedTimer clock;
    clock.start();

    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);

    for (qint64 left = deadline - clock.nsecsElapsed(); left > 0;
         left = deadline - clock.nsecsElapsed()) {
        timer.start(int((left + 999999) / 1000000));
        loop.exec();
        // The application is quitting: every nested loop has been told to end,
        // and a sequence in progress must not rush out its remaining bytes.
        if (timer.isActive()) {
            quitting = true;
            core->set_quitting();
            return;
        }
    }
}

void frmain::send(QString data)
{
    core->write(data.toLatin1());
}

// Paced by the player, which also keeps it from cutting into a sequence.
void frmain::one_byte_send(QString str)
{
    core->play({CommandStep{str.toLatin1(), true, 0}});
}

// One exchange at a time; a closed port is said plainly instead of pacing
// out nothing, and a write the port refuses ends the exchange with a word.
void frmain::play(const QVector<CommandStep> &steps)
{
    if (core->configuring())
        return;
    if (!my_com->isOpen()) {
        show_message(tr("\n串口未打开\n请先打开串口！\n"));
        return;
    }
    // The commands are the default instrument's; another probe may take
    // them for something else.
    if (core->other_probe()
        && !ask_yes_no(tr("当前读取的是 %1 格式的探头，配置命令是为本仪器（dollar "
                          "格式）设计的，此探头可能无法识别。\n仍要发送吗？")
                           .arg(QLatin1String(format_name(*core->format())))))
        return;
    configuring = true;
    const CommandPlayer::Result result = core->configure(steps);
    configuring = false;
    recording->show_state();
    if (result == CommandPlayer::write_failed)
        pane_note(tr("写入串口失败，配置未完成"));
}

void frmain::setting_button_slot()
{
    play(send_config_steps(machine_baud_combobox->currentText(),
                           outrate_lineedit->text().toInt(nullptr, 10),
                           temp_output_combobox->currentIndex() == 0));
}

void frmain::save_setting_slot()
{
    play(save_config_steps());
}

bool frmain::outrange_warning_slot(QString text)
{
    if (text.isEmpty()) {
        send_config_button->setEnabled(false);
        return false;
    }
    const int rate = text.toInt(nullptr, 10);
    if (rate >= 1 && rate <= 30) {
        send_config_button->setEnabled(true);
        return true;
    }
    send_config_button->setEnabled(false);
    show_message(tr("\n数值不在范围内!\n请输入(1~30)范围的数字\n"));
    return false;
}

void frmain::set_average_points(int points)
{
    core->set_average_points(points);
    avg_count = 0;
    avg_sum = 0.0;
    avg_points = points;
}

void frmain::avg_point_slot()
{
    const int points = avg_lineedit->text().toInt(nullptr, 10);
    if (points > 0) {
        set_average_points(points);
        show_message(tr("设置成功！"));
    } else {
        avg_lineedit->setText(QString::number(avg_points));
        show_message(tr("数值必须为大于0的整数！"));
    }
}
