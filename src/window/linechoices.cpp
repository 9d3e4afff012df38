#include "linechoices.h"

#include <QComboBox>
#include <QSerialPort>

const QStringList &baud_rate_texts()
{
    static const QStringList texts = {"2400", "4800", "9600", "19200", "38400", "57600", "115200"};
    return texts;
}

struct Choice
{
    const char *text;
    int value;
};

static void add_choices(QComboBox *combo, std::initializer_list<Choice> choices, int current)
{
    for (const Choice &choice : choices)
        combo->addItem(QString::fromUtf8(choice.text), choice.value);
    combo->setCurrentIndex(current);
}

void fill_line_choices(QComboBox *baud, QComboBox *data_bits, QComboBox *parity,
                       QComboBox *stop_bits)
{
    for (const QString &rate : baud_rate_texts())
        baud->addItem(rate, rate.toInt());
    baud->setCurrentIndex(2);
    add_choices(data_bits,
                {{"5", QSerialPort::Data5},
                 {"6", QSerialPort::Data6},
                 {"7", QSerialPort::Data7},
                 {"8", QSerialPort::Data8}},
                3);
    add_choices(parity,
                {{"NONE ", QSerialPort::NoParity},
                 {"ODD ", QSerialPort::OddParity},
                 {"EVEN ", QSerialPort::EvenParity},
                 {"MARK ", QSerialPort::MarkParity},
                 {"SPACE ", QSerialPort::SpaceParity}},
                0);
    add_choices(stop_bits,
                {{"1  bit", QSerialPort::OneStop},
                 {"1.5bit", QSerialPort::OneAndHalfStop},
                 {"2  bit", QSerialPort::TwoStop}},
                0);
}
