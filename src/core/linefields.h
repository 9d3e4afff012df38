#ifndef LINEFIELDS_H
#define LINEFIELDS_H

// Splitting a probe's line into fields and reading its numbers, on the bytes
// and without Qt (the simulator uses them too).

#include <string_view>

inline bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trim_blanks(std::string_view text);

// The runs of non-blanks of text into words; their count, or max + 1 when
// there are more than max.
int split_words(std::string_view text, std::string_view *words, int max);

// text cut at every separator, each field trimmed of blanks; the count of
// fields, or max + 1 when there are more than max.
int split_fields(std::string_view text, char separator, std::string_view *fields, int max);

// A plain decimal number: an optional sign, digits with at most one point,
// at least one digit; no exponent, no blanks. The value is the nearest double,
// the same as QString::toDouble gives.
bool read_decimal(std::string_view text, double *value);

// ASCII letters compared without case.
bool same_letters(std::string_view text, std::string_view upper);

#endif
