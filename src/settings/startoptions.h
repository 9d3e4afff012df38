#ifndef STARTOPTIONS_H
#define STARTOPTIONS_H

#include "outputconfig.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// What an unattended start is told on the command line. Without any of it
// the program starts exactly as an operator would find it.
struct StartOptions
{
    QString port; // a port name or path for the input
    std::optional<qint32> baud;
    bool open = false; // open the port at start, retrying every second
    QVector<OutputConfig> outputs;

    // The arguments after the program's name. False with *error saying what
    // is wrong, for stderr and exit status 2.
    static bool parse(const QStringList &arguments, StartOptions *options, QString *error);
    static QString usage();
};

#endif
