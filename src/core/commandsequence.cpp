#include "commandsequence.h"

QVector<CommandStep> send_config_steps(const QString &baud, int output_rate, bool temperature_on)
{
    const QByteArray temperature = temperature_on ? "water temp enable" : "water temp disable";
    return {
        {"\r", false, 100}, {"uart bps " + baud.toLatin1(), true, 100},
        {"\r", false, 200}, {"data rate " + QByteArray::number(output_rate), true, 100},
        {"\r", false, 200}, {temperature, true, 100},
        {"\r", false, 300},
    };
}

QVector<CommandStep> save_config_steps()
{
    return {
        {"done", true, 100},
        {"\r", false, 200},
        {"y", false, 100},
        {"\r", false, 300},
    };
}
