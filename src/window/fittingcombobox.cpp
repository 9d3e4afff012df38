#include "fittingcombobox.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QStyleOptionViewItem>

FittingComboBox::FittingComboBox(QWidget *parent) : QComboBox(parent)
{
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

int FittingComboBox::list_width() const
{
    QAbstractItemView *list = view();
    list->ensurePolished();
    int widest = 0;
    for (int row = 0; row < count(); ++row) {
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.widget = list;
        // A list drawn as a menu (in this box's font) takes the text's size
        // from the rectangle and adds its check mark and margins; other
        // lists measure the text themselves.
        option.rect
            = QRect(0, 0, fontMetrics().horizontalAdvance(itemText(row)), fontMetrics().height());
        const QModelIndex index = model()->index(row, modelColumn(), rootModelIndex());
        widest = qMax(widest, list->itemDelegate()->sizeHint(option, index).width());
    }
    const int bar = count() > maxVisibleItems() ? list->verticalScrollBar()->sizeHint().width() : 0;
    return widest + 2 * list->frameWidth() + bar;
}

void FittingComboBox::showPopup()
{
    view()->setMinimumWidth(list_width());
    QComboBox::showPopup();
}
