#ifndef LINEFRAMER_H
#define LINEFRAMER_H

#include <QByteArray>

// Finds the lines of the formats framed by their line end (CR LF, LF or CR
// alone) in the stream's buffer, and, while automatic recognition may still
// turn to the dollar format, its lines too: as the dollar framing has them,
// from the last "$" since the last CR LF to the next CR LF. A dollar line
// closed by a CR LF comes instead of the line that CR LF ends.
//
// A CR at the end of the bytes waits for the next byte when the probe has
// been ending its lines with CR LF, or when a LF would close a dollar line;
// otherwise it ends its line at once, and a LF right after it belongs to it.
// So the lines are the same however the bytes fall into chunks (only a raw
// line may then lack the LF of its CR LF).
class LineFramer
{
public:
    struct Line
    {
        enum Kind { text, dollar, overlong } kind = text;
        int start = 0, end = 0; // the line's bytes, without its line end (dollar: from its "$")
        int next = 0; // just past its line end
    };

    explicit LineFramer(int max_line) : max_line(max_line) { }

    void watch_dollar(bool watch) { watching = watch; }
    // The next line of buffer, scanning on from the last call; false when
    // the rest has no line end yet.
    bool next(const QByteArray &buffer, Line *line);
    // After next() gave false: how many bytes at the front of buffer are done
    // with; the caller removes them. A line grown too long to be one is
    // dropped here and reported as overlong when its end comes.
    int settle(const QByteArray &buffer);
    void reset();

private:
    bool dollar_line_ends_at(const QByteArray &buffer, int end) const;
    void line_ended(const QByteArray &buffer, int end, int length, Line *line);

    const int max_line;
    bool watching = false;
    int pos = 0; // scanned up to here
    int line_start = 0;
    int last_dollar = -1; // since the last CR LF, while its line can still fit
    bool dropping = false; // the bytes of the line being framed are gone
    bool crlf_seen = false;
    bool after_cr = false; // a CR ended the last line at the end of the bytes
};

#endif
