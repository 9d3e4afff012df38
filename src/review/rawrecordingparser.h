#ifndef RAWRECORDINGPARSER_H
#define RAWRECORDINGPARSER_H

#include "reviewlog.h"
#include "reviewoptions.h"

#include <QCoreApplication>
#include <QtGlobal>

// Reads a raw recording into a ReviewLog: the start line, every byte the
// instrument sent, the end line. The lines go through MeasurementStream, so
// a malformed line counts as it did live, and are judged again with the
// limits given. The recording has no time for each line: they are spread
// evenly from the start line to the end line, and the log says the times are
// estimated. Without an end line (the program was closed without stopping)
// the file's modification time ends the session, as the recorder wrote
// each chunk to the disk at once; if that is not after the start line (a
// copied file, a clock set back) the lines are taken as one a second.
class RawRecordingParser
{
    Q_DECLARE_TR_FUNCTIONS(RawRecordingParser)

public:
    static constexpr qint64 nominal_interval_ms = 1000;

    RawRecordingParser(ReviewLog &log, const ReviewOptions &options)
        : log(log), options(options) { }

    // The local time of a "yyyy_MM_dd_hh_mm_ss" line (without its line end)
    // as UTC milliseconds; false if line is not such a stamp.
    static bool stamp(const char *line, qint64 length, qint64 *utc_ms);

    // data: the whole file, from its start line on; modified_ms: the file's
    // modification time.
    void parse(const char *data, qint64 size, qint64 modified_ms);

private:
    qint64 read_lines(const char *data, qint64 size);
    void spread_times(qint64 lines);

    ReviewLog &log;
    const ReviewOptions &options;
};

#endif
