#ifndef REPORTCOMMAND_H
#define REPORTCOMMAND_H

#include "reviewoptions.h"

#include <QString>

class QTextStream;

// The batch command: the session report of the log or recording at
// log_path, written to pdf_path. Returns 0 when written (what could not be
// read is named on err and in the report), 1 when log_path cannot be read
// or is not a log, 2 when pdf_path cannot be written. Needs a
// QGuiApplication.
int write_report_from_file(const QString &log_path, const QString &pdf_path,
                           const ReviewOptions &options, QTextStream &err);

#endif
