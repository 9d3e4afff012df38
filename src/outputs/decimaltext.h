#ifndef DECIMALTEXT_H
#define DECIMALTEXT_H

#include <QString>

// Numbers as the instrument wrote them, handled as text: a value that is
// rounded or passed on never goes through binary floating point, so
// "1489.805" rounds to "1489.81" as a person would round it.

// number rounded to decimals places, half away from zero: "1489.805", 2 gives
// "1489.81"; "999.995", 2 gives "1000.00"; "-0.0004", 3 gives "0.000". The
// number may carry a sign, blanks around it and an exponent ("1.5e3"). An
// empty string when number is not a decimal number.
QString round_decimal(const QString &number, int decimals);

// number written as a JSON number with every digit it came with: "+1500."
// gives "1500", ".5" gives "0.5", "1.5e3" gives "1500". An empty string when
// number is not a decimal number.
QString json_number(const QString &number);

#endif
