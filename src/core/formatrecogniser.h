#ifndef FORMATRECOGNISER_H
#define FORMATRECOGNISER_H

#include "probeformat.h"

#include <optional>

// Decides a line-framed format from consecutive lines: each format keeps its
// own streak of lines that read as it, a line that does not breaks it, and
// the first streak to reach three decides, the earlier format in FormatId's
// order winning a tie. The dollar format is not decided here: its lines are
// found by their own framing and taken at once. Plain C++.
class FormatRecogniser
{
public:
    static const int needed = 3;

    // One complete line, without its line end. The format decided with it,
    // if this line completed a streak; the streaks then start afresh.
    std::optional<FormatId> take(std::string_view line);
    // After opening or a reconnection: nothing seen yet.
    void reset();

private:
    int streaks[format_count] = {};
};

#endif
