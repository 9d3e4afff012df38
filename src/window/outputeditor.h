#ifndef OUTPUTEDITOR_H
#define OUTPUTEDITOR_H

#include "outputconfig.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

// How the list of outputs and the editor name a kind, a format and a gate.
QString kind_caption(OutputConfig::Kind kind);
QString format_caption(SentenceFormat format);
QString gate_caption(OutputGate::Mode gate);

// One row of fields for an output: its kind and destination (a serial port
// and its baud rate, a UDP host and port, or a TCP port), the format, the
// gate and whether the last good value is held. The fields are checked by
// OutputConfig itself, so the rules are the same as on the command line.
// Every choice and hint shows whole, in the list and in the field.
class OutputEditor : public QWidget
{
    Q_OBJECT

public:
    explicit OutputEditor(QWidget *parent = nullptr);

    void load(const OutputConfig &config);
    // False with *error saying which entry is wrong.
    bool read(OutputConfig *config, QString *error) const;
    // What a good reading is, in the gate's tooltip.
    void show_good(const QString &good);

private:
    void show_kind_fields();

    QComboBox *kind;
    QLineEdit *serial_name;
    QComboBox *baud;
    QLineEdit *host;
    QLineEdit *port;
    QComboBox *format;
    QComboBox *gate;
    QCheckBox *hold;
};

#endif
