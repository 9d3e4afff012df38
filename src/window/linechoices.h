#ifndef LINECHOICES_H
#define LINECHOICES_H

#include <QStringList>

class QComboBox;

// The rates offered for the port and for the instrument, in order.
const QStringList &baud_rate_texts();

// The serial line's choices, each item carrying the value it stands for;
// the texts are what the operator has always seen. 9600 8N1 chosen.
void fill_line_choices(QComboBox *baud, QComboBox *data_bits, QComboBox *parity,
                       QComboBox *stop_bits);

#endif
