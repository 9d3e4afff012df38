#ifndef EXPORTTARGET_H
#define EXPORTTARGET_H

#include <QString>

// Why a file cannot be exported to path, or an empty text when it can: an
// export writes only regular files, new or replaced, and never turns a
// device node or a folder into a file of its own.
QString export_refusal(const QString &path);

#endif
