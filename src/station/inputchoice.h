#ifndef INPUTCHOICE_H
#define INPUTCHOICE_H

#include "probeformat.h"

#include <QByteArray>
#include <QString>

// How the station reads its instrument: the input format (recognised from
// the lines, or one by name), whether sentences are read whatever their
// checksum, and what is sent to the probe after opening when a format is
// chosen by name. Automatic recognition sends nothing: an unknown instrument
// must not receive commands.
struct InputChoice
{
    InputFormat format;
    bool ignore_checksums = false;
    QString start_text; // as the operator typed it, escapes and all

    bool operator==(const InputChoice &other) const
    {
        return format == other.format && ignore_checksums == other.ignore_checksums
            && start_text == other.start_text;
    }
    bool operator!=(const InputChoice &other) const { return !(*this == other); }
};

// The bytes a start text stands for: \r, \n, \t, \\ and \xHH (two hex
// digits) as in C, every other character as itself. False on an escape it
// does not know or a character beyond Latin-1.
bool start_bytes(const QString &text, QByteArray *bytes);

#endif
