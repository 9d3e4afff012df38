#ifndef ONSCREEN_H
#define ONSCREEN_H

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

// What the window's backing store holds for the widget: what was last
// drawn, not what the widget would draw now.
inline QImage on_screen(QWidget *widget)
{
    const QPoint at = widget->mapTo(widget->window(), QPoint());
    return QGuiApplication::primaryScreen()
        ->grabWindow(widget->window()->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// What the widget would draw now.
inline QImage drawn_now(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

#endif
