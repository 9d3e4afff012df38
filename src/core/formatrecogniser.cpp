#include "formatrecogniser.h"

std::optional<FormatId> FormatRecogniser::take(std::string_view line)
{
    std::optional<FormatId> decided;
    for (int i = 1; i < format_count; ++i) {
        const ProbeFormat *format = line_format(FormatId(i));
        LineValues values;
        // A wrong checksum still shows the format; the line is then counted
        // as such, and the operator can see whose lines they are.
        const bool matches = format->read(line, values) != LineMatch::no;
        streaks[i] = matches ? streaks[i] + 1 : 0;
        if (!decided && streaks[i] >= needed)
            decided = FormatId(i);
    }
    if (decided)
        reset();
    return decided;
}

void FormatRecogniser::reset()
{
    for (int &streak : streaks)
        streak = 0;
}
