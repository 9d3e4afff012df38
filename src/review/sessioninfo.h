#ifndef SESSIONINFO_H
#define SESSIONINFO_H

#include <QString>
#include <QStringList>

// What the program knew of a session beyond its files; all empty when a
// report is made from a file alone.
struct SessionInfo
{
    QString recording; // the raw recording's path
    QString log; // the measurement log's path
    QString port; // e.g. "/dev/ttyUSB0"
    QString line_settings; // e.g. "9600 8N1"
    QStringList configuration; // commands sent to the instrument, in order
    QString input_format; // read or chosen last, e.g. "psgds" or "auto"
};

#endif
