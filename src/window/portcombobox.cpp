#include "portcombobox.h"

#include <QAbstractItemView>
#include <QSerialPortInfo>

PortComboBox::PortComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    for (int i = 1; i <= fixed_names; ++i)
        addItem(QStringLiteral("COM%1").arg(i));
}

void PortComboBox::refresh_ports()
{
    const QString typed = currentText();
    while (count() > fixed_names)
        removeItem(count() - 1);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        QStringList details;
        for (const QString &detail : {info.description(), info.manufacturer(), info.serialNumber()})
            if (!detail.isEmpty())
                details << detail;
        addItem(info.systemLocation());
        setItemData(count() - 1, details.join(QLatin1Char('\n')), Qt::ToolTipRole);
    }
    setEditText(typed);
}

// Wide enough for whole device paths, which the combo itself is not.
void PortComboBox::showPopup()
{
    refresh_ports();
    int widest = width();
    for (int i = 0; i < count(); ++i)
        widest = qMax(widest, fontMetrics().horizontalAdvance(itemText(i)) + 40);
    view()->setMinimumWidth(widest);
    QComboBox::showPopup();
}
