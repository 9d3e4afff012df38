#include "linefields.h"

#include <charconv>
#include <cmath>

std::string_view trim_blanks(std::string_view text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && is_blank(text[first]))
        ++first;
    while (last > first && is_blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

int split_words(std::string_view text, std::string_view *words, int max)
{
    int count = 0;
    size_t i = 0;
    for (;;) {
        while (i < text.size() && is_blank(text[i]))
            ++i;
        if (i == text.size())
            return count;
        const size_t start = i;
        while (i < text.size() && !is_blank(text[i]))
            ++i;
        if (count == max)
            return max + 1;
        words[count++] = text.substr(start, i - start);
    }
}

int split_fields(std::string_view text, char separator, std::string_view *fields, int max)
{
    int count = 0;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        if (count == max)
            return max + 1;
        fields[count++] = trim_blanks(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return count;
        start = end + 1;
    }
}

bool read_decimal(std::string_view text, double *value)
{
    size_t first = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        first = 1;
    int digits = 0;
    bool point = false;
    for (size_t i = first; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    if (digits == 0)
        return false;
    // from_chars takes no "+"; it is locale-free, unlike strtod.
    const char *begin = text.data() + (text[0] == '+' ? 1 : 0);
    const char *end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(begin, end, *value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(*value);
}

bool same_letters(std::string_view text, std::string_view upper)
{
    if (text.size() != upper.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'a' && text[i] <= 'z' ? char(text[i] - 'a' + 'A') : text[i];
        if (c != upper[i])
            return false;
    }
    return true;
}
