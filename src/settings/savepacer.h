#ifndef SAVEPACER_H
#define SAVEPACER_H

#include <QObject>
#include <QTimer>

// Says when the remembered settings are worth comparing and saving: soon
// after the operator's last touch (a click, a key, the wheel) on whatever
// it watches, and at a slow pace for what changes without one (the place of
// a window the window manager moved). Collecting the settings every two
// seconds cost more at rest than everything else the program does then.
class SavePacer : public QObject
{
    Q_OBJECT
public:
    explicit SavePacer(int after_touch_ms = 1000, int every_ms = 30000, QObject *parent = nullptr);

    // Watches object for touches; the whole application when given qApp.
    void watch(QObject *object);
    void start();

signals:
    void due();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTimer after_touch, every;
};

#endif
