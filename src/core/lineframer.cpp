#include "lineframer.h"

#include "measurementstream.h"

bool LineFramer::next(const QByteArray &buffer, Line *line)
{
    const char *data = buffer.constData();
    const int size = buffer.size();
    if (after_cr && pos < size) {
        after_cr = false;
        if (data[pos] == '\n') { // the LF of a CR LF whose CR ended the last line
            crlf_seen = true;
            last_dollar = -1;
            line_start = ++pos;
        }
    }
    while (pos < size) {
        const char c = data[pos];
        if (c != '\r' && c != '\n') {
            if (c == '$')
                last_dollar = pos;
            ++pos;
            continue;
        }
        if (c == '\n' || pos + 1 < size) {
            line_ended(buffer, pos, c == '\r' && data[pos + 1] == '\n' ? 2 : 1, line);
            return true;
        }
        if (crlf_seen || (watching && dollar_line_ends_at(buffer, pos)))
            return false; // a CR at the end of the bytes: its LF is likely on the way
        after_cr = true;
        line_ended(buffer, pos, 1, line);
        return true;
    }
    return false;
}

void LineFramer::line_ended(const QByteArray &buffer, int end, int length, Line *line)
{
    pos = end + length;
    line->kind = dropping || pos - line_start > max_line ? Line::overlong : Line::text;
    line->start = line_start;
    line->end = end;
    line->next = pos;
    if (length == 2) {
        crlf_seen = true;
        if (watching && dollar_line_ends_at(buffer, end)) {
            line->kind = Line::dollar;
            line->start = last_dollar;
        }
        last_dollar = -1;
    }
    dropping = false;
    line_start = pos;
}

// Whether "\r\n" at end would close a dollar line, as the dollar framing
// finds them.
bool LineFramer::dollar_line_ends_at(const QByteArray &buffer, int end) const
{
    return last_dollar >= 0 && end + 2 - last_dollar <= max_line
        && MeasurementStream::is_dollar_line(buffer.constData() + last_dollar + 1,
                                             end - last_dollar - 1);
}

int LineFramer::settle(const QByteArray &buffer)
{
    const int size = buffer.size();
    const bool cr_waits = pos < size;
    // A CR still waiting may end the line as it is.
    if (!dropping && size - line_start >= max_line + (cr_waits ? 1 : 0))
        dropping = true;
    if (last_dollar >= 0 && size - last_dollar >= max_line)
        last_dollar = -1;
    int done = dropping ? pos : line_start;
    if (last_dollar >= 0 && last_dollar < done)
        done = last_dollar;
    pos -= done;
    line_start = dropping ? pos : line_start - done;
    if (last_dollar >= 0)
        last_dollar -= done;
    return done;
}

void LineFramer::reset()
{
    pos = line_start = 0;
    last_dollar = -1;
    dropping = crlf_seen = after_cr = false;
}
