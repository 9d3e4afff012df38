#include "decimaltext.h"

namespace {

// A decimal number taken apart: its sign and its digits before and after
// the point.
struct Digits
{
    bool negative = false;
    QString whole;
    QString fraction;
};

bool take_digits(const QString &text, int &at, QString &digits)
{
    const int from = at;
    while (at < text.size() && text.at(at).isDigit() && text.at(at).unicode() < 128)
        ++at;
    digits = text.mid(from, at - from);
    return at > from;
}

// The exponent's digits; beyond a thousand places no digit of a finite
// reading is left to keep, so larger exponents are cut there.
bool take_exponent(const QString &text, int &at, int &exponent)
{
    if (at == text.size())
        return true;
    if (text.at(at) != QLatin1Char('e') && text.at(at) != QLatin1Char('E'))
        return false;
    ++at;
    bool minus = false;
    if (at < text.size() && (text.at(at) == QLatin1Char('+') || text.at(at) == QLatin1Char('-')))
        minus = text.at(at++) == QLatin1Char('-');
    QString digits;
    if (!take_digits(text, at, digits) || at != text.size())
        return false;
    exponent = 0;
    for (const QChar c : digits)
        exponent = qMin(exponent * 10 + c.digitValue(), 1100);
    if (minus)
        exponent = -exponent;
    return true;
}

// Moves the point by exponent places, so the digits read as a plain decimal.
void shift_point(Digits &number, int exponent)
{
    if (exponent > 0) {
        number.fraction += QString(qMax(0, exponent - number.fraction.size()), QLatin1Char('0'));
        number.whole += number.fraction.left(exponent);
        number.fraction.remove(0, exponent);
    } else if (exponent < 0) {
        const int places = -exponent;
        number.whole
            = QString(qMax(0, places - number.whole.size()), QLatin1Char('0')) + number.whole;
        number.fraction = number.whole.right(places) + number.fraction;
        number.whole.chop(places);
    }
}

bool split(const QString &number, Digits &out)
{
    const QString text = number.trimmed();
    int at = 0;
    if (at < text.size() && (text.at(at) == QLatin1Char('+') || text.at(at) == QLatin1Char('-')))
        out.negative = text.at(at++) == QLatin1Char('-');
    const bool has_whole = take_digits(text, at, out.whole);
    bool has_fraction = false;
    if (at < text.size() && text.at(at) == QLatin1Char('.')) {
        ++at;
        has_fraction = take_digits(text, at, out.fraction);
    }
    int exponent = 0;
    if ((!has_whole && !has_fraction) || !take_exponent(text, at, exponent))
        return false;
    shift_point(out, exponent);
    int zeros = 0;
    while (zeros < out.whole.size() - 1 && out.whole.at(zeros) == QLatin1Char('0'))
        ++zeros;
    out.whole.remove(0, zeros);
    if (out.whole.isEmpty())
        out.whole = QStringLiteral("0");
    return true;
}

// Adds one to the last digit of digits, carrying to the left; a carry out of
// the first digit adds a digit in front.
void increment(QString &digits)
{
    for (int i = digits.size() - 1; i >= 0; --i) {
        if (digits.at(i) != QLatin1Char('9')) {
            digits[i] = QChar(digits.at(i).unicode() + 1);
            return;
        }
        digits[i] = QLatin1Char('0');
    }
    digits.prepend(QLatin1Char('1'));
}

} // namespace

QString round_decimal(const QString &number, int decimals)
{
    Digits parts;
    if (decimals < 0 || !split(number, parts))
        return QString();
    QString fraction = parts.fraction.left(decimals);
    fraction += QString(decimals - fraction.size(), QLatin1Char('0'));
    QString digits = parts.whole + fraction;
    if (decimals < parts.fraction.size() && parts.fraction.at(decimals) >= QLatin1Char('5'))
        increment(digits);
    const bool zero = digits.count(QLatin1Char('0')) == digits.size();
    QString result = digits.left(digits.size() - decimals);
    if (decimals > 0)
        result += QLatin1Char('.') + digits.right(decimals);
    return parts.negative && !zero ? QLatin1Char('-') + result : result;
}

QString json_number(const QString &number)
{
    Digits parts;
    if (!split(number, parts))
        return QString();
    QString result = parts.negative ? QStringLiteral("-") : QString();
    result += parts.whole;
    if (!parts.fraction.isEmpty())
        result += QLatin1Char('.') + parts.fraction;
    return result;
}
