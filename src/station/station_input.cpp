// What the station reads its instrument as: the input format, its reset on
// opening and reconnection, and the start text a chosen probe is sent.
#include "station.h"

void Station::set_input(const InputChoice &choice)
{
    input_choice = choice;
    pipeline.set_input(choice.format, choice.ignore_checksums);
    publish_status();
    emit input_changed();
}

bool Station::other_probe() const
{
    return format() && *format() != FormatId::dollar;
}

// What came before belongs to the port as it was: a line cut by the
// reopening, a probe since replaced.
void Station::restart_input()
{
    pipeline.restart_stream();
    emit input_changed();
}

void Station::send_start()
{
    if (input_choice.format.automatic || input_choice.start_text.isEmpty())
        return;
    QByteArray bytes;
    if (!start_bytes(input_choice.start_text, &bytes))
        emit message(tr("启动字符串无法识别，未发送：%1").arg(input_choice.start_text));
    else if (!write(bytes))
        emit message(tr("启动字符串未能写入串口"));
}
