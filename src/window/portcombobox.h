#ifndef PORTCOMBOBOX_H
#define PORTCOMBOBOX_H

#include <QComboBox>

// The port choice: "COM1" to "COM11" as always, then the serial ports the
// system reports, looked up again each time the list is opened. A name or
// device path can still be typed in.
class PortComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit PortComboBox(QWidget *parent = nullptr);
    void refresh_ports();
    void showPopup() override;

private:
    static const int fixed_names = 11;
};

#endif
