#ifndef COMMANDSEQUENCE_H
#define COMMANDSEQUENCE_H

#include <QByteArray>
#include <QString>
#include <QVector>

// One step of a configuration exchange: bytes for the line, written whole or
// one character at a time (20 ms after each), then a pause.
struct CommandStep
{
    QByteArray bytes;
    bool one_by_one = false;
    int pause_ms = 0;
};

// The instrument's baud rate, output rate and temperature output, each
// command ended by a lone "\r" after a pause.
QVector<CommandStep> send_config_steps(const QString &baud, int output_rate, bool temperature_on);

// "done", then "y": the instrument stores its configuration.
QVector<CommandStep> save_config_steps();

#endif
