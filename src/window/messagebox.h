#ifndef MESSAGEBOX_H
#define MESSAGEBOX_H

#include <QString>

// A modal box with only its text, as every message of the program is shown.
void show_message(const QString &text);
// The same with 是 / 否; true for 是. 否 is the default, so an Enter meant
// for something else does not say yes.
bool ask_yes_no(const QString &text);

#endif
