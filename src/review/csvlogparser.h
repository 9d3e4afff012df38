#ifndef CSVLOGPARSER_H
#define CSVLOGPARSER_H

#include "reviewlog.h"

#include <QtGlobal>

struct RowFields;

// Reads the rows of a measurement log into a ReviewLog by hand: a million
// rows must load in about a second, which neither QDateTime::fromString nor
// a QString per field allows. A row that cannot be read is counted and
// named by its line number; the rows around it are kept.
class CsvLogParser
{
public:
    explicit CsvLogParser(ReviewLog &log) : log(log) { }

    // The log's header has 6 columns (older logs), 7 (with forwarded) or 14
    // (with the probe's pressure or depth and the position); 0 when line,
    // without its line end, is not the header.
    static int header_columns(const char *line, qint64 length);

    // data: the whole file, from its header line on.
    void parse(const char *data, qint64 size);

private:
    bool parse_row(const char *begin, const char *end);
    bool take_event(const RowFields &row, qint64 utc_ms);
    bool take_reading(const RowFields &row, qint64 utc_ms);
    void reject(qint64 line_number);

    ReviewLog &log;
    int columns = 0;
    bool any_row = false;
    qint64 last_time = 0;
    qint64 rejected_before_first = 0; // damaged rows before any time was known
};

#endif
