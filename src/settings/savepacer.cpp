#include "savepacer.h"

#include <QEvent>

SavePacer::SavePacer(int after_touch_ms, int every_ms, QObject *parent) : QObject(parent)
{
    after_touch.setSingleShot(true);
    after_touch.setInterval(after_touch_ms);
    every.setInterval(every_ms);
    connect(&after_touch, &QTimer::timeout, this, &SavePacer::due);
    connect(&every, &QTimer::timeout, this, &SavePacer::due);
}

void SavePacer::watch(QObject *object)
{
    object->installEventFilter(this);
}

void SavePacer::start()
{
    every.start();
}

// A release ends what the press began (a choice made, a field typed in);
// restarting on each one keeps a burst of typing to one save.
bool SavePacer::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        if (every.isActive())
            after_touch.start();
        break;
    default:
        break;
    }
    return false;
}
