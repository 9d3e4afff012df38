#include "inputchoice.h"

#include <cctype>

static int hex_digit(QChar c)
{
    const char d = char(c.toLower().unicode());
    return c.unicode() < 0x80 && std::isxdigit(uchar(d)) ? (d <= '9' ? d - '0' : d - 'a' + 10) : -1;
}

// The escape after the backslash at *i, which is left at its last character.
static bool escaped(const QString &text, int *i, QByteArray *bytes)
{
    const QChar c = *i + 1 < text.size() ? text.at(++*i) : QChar();
    const char simple = c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c == '\\' ? '\\' : 0;
    if (simple) {
        bytes->append(simple);
        return true;
    }
    if (c != 'x' || *i + 2 >= text.size())
        return false;
    const int high = hex_digit(text.at(*i + 1)), low = hex_digit(text.at(*i + 2));
    if (high < 0 || low < 0)
        return false;
    bytes->append(char(high * 16 + low));
    *i += 2;
    return true;
}

bool start_bytes(const QString &text, QByteArray *bytes)
{
    QByteArray result;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == '\\') {
            if (!escaped(text, &i, &result))
                return false;
        } else if (c.unicode() > 0xFF) {
            return false;
        } else {
            result.append(char(c.unicode()));
        }
    }
    *bytes = result;
    return true;
}
