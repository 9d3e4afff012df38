#include "sessionfiles.h"

#include <QDateTime>
#include <QFileInfo>

// A file dialog left open for hours must not eat the memory: past this the
// oldest held bytes go (the measurement log, once started, is unaffected).
static const int held_limit = 16 * 1024 * 1024;

bool SessionFiles::start(const QString &path, qint64 at, QString *log_error,
                         const QString &first_event)
{
    last_ms = at;
    // A file there means the operator chose to replace it: its logs go too.
    const bool replacing = QFileInfo::exists(path);
    if (!raw.start(path, QDateTime::fromMSecsSinceEpoch(at))) {
        hold(false);
        return false;
    }
    rows.clear();
    const QString log_path = MeasurementLog::path_for(path, replacing);
    if (!csv.start(log_path, at, replacing) && log_error)
        *log_error = csv.error_string();
    if (!first_event.isEmpty())
        add_row(at, CsvRow(QString(), QString(), QString(), QString(), first_event, QString()));
    if (line_log_wanted && !lines_log.start(LineLog::path_for(path, replacing), replacing)
        && log_error)
        *log_error = lines_log.error_string();
    // What came while the file was chosen, with the times it came.
    const QVector<Chunk> waiting = held;
    held.clear();
    held_bytes = 0;
    for (const Chunk &chunk : waiting) {
        write(chunk.bytes, chunk.at);
        if (!raw.recording())
            break;
    }
    return true;
}

void SessionFiles::stop(bool end_line, qint64 at)
{
    write_rows(std::numeric_limits<qint64>::max());
    if (end_line && raw.recording())
        raw.stop(QDateTime::fromMSecsSinceEpoch(at));
    else
        raw.close();
    csv.stop();
    lines_log.stop(at);
}

void SessionFiles::hold(bool on)
{
    holding = on;
    if (!on) {
        held.clear();
        held_bytes = 0;
    }
}

void SessionFiles::take(const QByteArray &chunk, qint64 at)
{
    last_ms = at;
    if (!holding) {
        write(chunk, at);
        return;
    }
    held.append({at, chunk});
    held_bytes += chunk.size();
    while (held_bytes > held_limit) {
        held_bytes -= held.first().bytes.size();
        held.removeFirst();
    }
}

void SessionFiles::write(const QByteArray &chunk, qint64 at)
{
    if ((raw.recording() && !raw.append(chunk))
        || (lines_log.active() && !lines_log.feed(chunk, at)))
        fail();
}

void SessionFiles::add_row(qint64 at, const CsvRow &row, qint64 sequence, int forwarded,
                           int waiting)
{
    if (!csv.active())
        return;
    last_ms = qMax(last_ms, at);
    rows.push_back({at, row, sequence, forwarded, waiting});
    write_rows(0);
}

void SessionFiles::resolve(qint64 sequence, bool sent)
{
    for (Row &row : rows) {
        if (row.sequence != sequence || row.waiting == 0)
            continue;
        row.forwarded += int(sent);
        --row.waiting;
        write_rows(0);
        return;
    }
}

// The rows from the first on that nothing waits for any more, and those that
// have waited since older_than_ms or before.
void SessionFiles::write_rows(qint64 older_than_ms)
{
    while (!rows.empty() && (rows.front().waiting == 0 || rows.front().at <= older_than_ms)) {
        Row &row = rows.front();
        if (row.sequence > 0)
            row.row.forwarded = QString::number(row.forwarded);
        const bool written = !csv.active() || csv.add(row.at, row.row);
        rows.pop_front();
        if (!written)
            return fail();
    }
}

void SessionFiles::flush(qint64 now_ms)
{
    write_rows(now_ms - row_wait_ms);
    if ((csv.active() && !csv.flush_if_due(now_ms))
        || (lines_log.active() && !lines_log.flush_if_due(now_ms)))
        fail();
}

qint64 SessionFiles::flush_due_ms() const
{
    const qint64 log = csv.flush_due_ms(), lines = lines_log.flush_due_ms();
    return log == 0 || lines == 0 ? qMax(log, lines) : qMin(log, lines);
}

void SessionFiles::fail()
{
    rows.clear();
    raw.close();
    csv.stop();
    lines_log.stop(last_ms);
    emit failed();
}
