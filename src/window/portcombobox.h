#ifndef PORTCOMBOBOX_H
#define PORTCOMBOBOX_H

#include "fittingcombobox.h"

// The port choice: "COM1" to "COM11" as always, then the serial ports the
// system reports, looked up again each time the list is opened. A name or
// device path can still be typed in. A long path shows its end, which tells
// ports apart (/dev/serial/by-id/...-A1B2C3-if00-port0), with the whole
// path as the tooltip.
class PortComboBox : public FittingComboBox
{
    Q_OBJECT

public:
    explicit PortComboBox(QWidget *parent = nullptr);
    void refresh_ports();
    void showPopup() override;
    // Room for the end of a path that tells ports apart.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

private:
    void show_end();

    static const int fixed_names = 11;
};

#endif
