#include "displayedit.h"
#include "frmain.h"
#include "statuspane.h"
#include "statustabs.h"

#include <QDateTime>

// Every display is one of ours; the window keeps them as line edits.
static DisplayEdit *as_display(QLineEdit *display)
{
    return static_cast<DisplayEdit *>(display);
}

// Setting a display relays out its text even when it is the same.
static void show_text(QLineEdit *display, const QString &text)
{
    if (display->text() != text)
        display->setText(text);
}

// A change is drawn at once when no frame was drawn for a frame's time,
// otherwise with everything else that came by the next frame.
void frmain::request_frame()
{
    const qint64 wait = frame.wait_ms(QDateTime::currentMSecsSinceEpoch());
    if (wait < 0 || frame_timer.isActive())
        return;
    frame_timer.start(int(wait));
}

// Brings the screen up to date with every line handled since the last frame.
void frmain::paint_frame()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const PendingFrame::Frame next = frame.take(now);
    if (next.changed & PendingFrame::Speed) {
        show_text(speed_lineedit, next.speed);
        set_displays_stale(false);
    }
    if (next.changed & PendingFrame::Average)
        show_text(avg_speed_lineedit, next.average);
    if (next.changed & PendingFrame::Temperature)
        show_text(temp_lineedit, next.temperature);
    if (next.changed & PendingFrame::Pane)
        append_to_pane(status_textedit, next.pane);
    status_tabs->frame_tick();
}

// Stale values stay readable but grey, until the next valid line, which
// clears it through the next frame.
void frmain::stale(bool stale, qint64)
{
    if (!stale)
        return;
    set_displays_stale(true);
    status_tabs->frame_tick();
}

void frmain::set_displays_stale(bool stale)
{
    if (stale == displays_stale)
        return;
    displays_stale = stale;
    for (QLineEdit *display : {speed_lineedit, avg_speed_lineedit, temp_lineedit})
        as_display(display)->set_stale(stale);
}
