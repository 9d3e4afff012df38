#include "displayedit.h"

#include <QEvent>
#include <QPainter>

DisplayEdit::DisplayEdit(QWidget *parent) : QLineEdit(parent) { }

// Style sheets clear the flag when they polish the widget; set it again.
bool DisplayEdit::event(QEvent *event)
{
    const bool handled = QLineEdit::event(event);
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void DisplayEdit::paintEvent(QPaintEvent *event)
{
    QWidget *behind = parentWidget();
    if (backdrop.isNull() && behind) {
        const qreal ratio = devicePixelRatioF();
        backdrop = QPixmap(size() * ratio);
        backdrop.setDevicePixelRatio(ratio);
        behind->render(&backdrop, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    }
    {
        QPainter painter(this);
        painter.drawPixmap(0, 0, backdrop);
    }
    QLineEdit::paintEvent(event);
}

void DisplayEdit::resizeEvent(QResizeEvent *event)
{
    backdrop = QPixmap();
    QLineEdit::resizeEvent(event);
}

void DisplayEdit::moveEvent(QMoveEvent *event)
{
    backdrop = QPixmap();
    QLineEdit::moveEvent(event);
}
