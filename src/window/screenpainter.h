#ifndef SCREENPAINTER_H
#define SCREENPAINTER_H

#include "pendingframe.h"

#include <QObject>
#include <QTimer>
#include <QVector>

class QLineEdit;
class QTextEdit;
class StatusTabs;

// Brings the screen up to date once per frame with what the lines handled
// since the last one changed: the displays, the pane and the trend. Lines are
// handled as they arrive; only painting waits.
class ScreenPainter : public QObject
{
    Q_OBJECT

public:
    ScreenPainter(QLineEdit *speed, QLineEdit *average, QLineEdit *temperature, QTextEdit *pane,
                  StatusTabs *tabs, QObject *parent = nullptr);

    // What the next frame shows; request() after changing it.
    PendingFrame &next() { return pending; }
    // What the instrument sent, for the pane: with the option on, each line
    // begins with the UTC time it came ("08:00:00.125Z ").
    void add_received(const QString &text, qint64 utc_ms);
    // A line read while automatic recognition has not decided waits: the
    // default instrument's first line decides at once, and the cut line or
    // junk before it was never shown. Past a few lines they show as they
    // come, until the next decision.
    void hold_unrecognised(const QString &text, qint64 utc_ms);
    // Recognition decided: the lines waiting are shown (another probe's
    // first lines), or dropped (the default instrument's).
    void release_unrecognised(bool show);
    // A line of the program's own.
    void add_note(const QString &line);
    void set_arrival_times(bool on) { arrival_times = on; }
    bool shows_arrival_times() const { return arrival_times; }
    // A change is drawn at once when no frame was drawn for a frame's time,
    // otherwise with everything else that came by the next frame.
    void request();
    // Stale values stay readable but grey, until the next frame with a new
    // speed.
    void set_stale(bool stale);

private:
    void paint();

    QLineEdit *speed, *average, *temperature;
    QTextEdit *pane;
    StatusTabs *tabs;
    PendingFrame pending;
    QTimer timer;
    bool stale_now = false;
    bool arrival_times = false;
    bool at_line_start = true;
    struct Waiting
    {
        QString text;
        qint64 utc_ms;
    };
    QVector<Waiting> unrecognised;
    bool showing_unrecognised = false;
};

#endif
