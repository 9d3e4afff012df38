#ifndef LOGREADER_H
#define LOGREADER_H

#include "reviewlog.h"
#include "reviewoptions.h"

#include <QCoreApplication>
#include <QString>

#include <vector>

// Reads a measurement log or a raw recording back, telling them apart by
// their first line. Never fails outright: what cannot be read is named in
// the result's problems and the rest is kept.
class LogReader
{
    Q_DECLARE_TR_FUNCTIONS(LogReader)

public:
    explicit LogReader(const ReviewOptions &options = ReviewOptions()) : options(options) { }

    ReviewLog read(const QString &path) const;

    // "第 12、15 行无法读取": the first `shown` line numbers, then how many in all.
    static QString bad_lines_message(const std::vector<qint64> &lines, int shown = 20);

private:
    void read_bytes(ReviewLog &log, const char *data, qint64 size, qint64 modified_ms) const;

    ReviewOptions options;
};

#endif
