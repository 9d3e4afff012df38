#include "portcombobox.h"

#include <QLineEdit>
#include <QSerialPortInfo>
#include <QStyle>
#include <QStyleOptionComboBox>

PortComboBox::PortComboBox(QWidget *parent) : FittingComboBox(parent)
{
    // As wide as the window gives it, not as its longest path.
    setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    for (int i = 1; i <= fixed_names; ++i)
        addItem(QStringLiteral("COM%1").arg(i));
    connect(this, &QComboBox::currentTextChanged, this, &PortComboBox::show_end);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &PortComboBox::show_end);
}

// The end of a by-id path: the adapter's serial number and interface.
static const char telling_end[] = "A1B2C3-if00-port0";

QSize PortComboBox::minimumSizeHint() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.rect = QRect(0, 0, 200, 30); // any size: what the frame and arrow take
    const QRect field
        = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int margins = 2 * 2 + 2; // the line edit's on either side, and its cursor
    const int wanted = option.rect.width() - field.width()
        + lineEdit()->fontMetrics().horizontalAdvance(QLatin1String(telling_end)) + margins;
    return FittingComboBox::minimumSizeHint().expandedTo(QSize(wanted, 0));
}

QSize PortComboBox::sizeHint() const
{
    return FittingComboBox::sizeHint().expandedTo(minimumSizeHint());
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

void PortComboBox::showPopup()
{
    refresh_ports();
    FittingComboBox::showPopup();
}

// The end of a path tells ports apart; the start is alike for all of them.
// Left where the operator's typing put it only while typing.
void PortComboBox::show_end()
{
    setToolTip(currentText());
    if (!lineEdit()->hasFocus())
        lineEdit()->end(false);
}
