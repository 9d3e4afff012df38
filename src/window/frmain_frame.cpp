#include "frmain.h"
#include "statuspane.h"
#include "trendview.h"

#include <QDateTime>
#include <QLineEdit>

// About 40 frames a second: a lone line is drawn at once, a burst once per
// frame. The pane, a log nobody reads at 30 lines a second, scrolls at most
// ten times a second; that is most of what a frame costs.
static const int frame_ms = 25;
static const int pane_ms = 100;

// Setting a display relays out its text even when it is the same.
static void show_text(QLineEdit *display, const QString &text)
{
    if (display->text() != text)
        display->setText(text);
}

// A display change is drawn at once when no frame was drawn for a frame's
// time.
void frmain::request_frame()
{
    if (frame.empty())
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    qint64 delay = qBound<qint64>(0, frame_ms - (now - last_frame_ms), frame_ms);
    // Pane text alone waits a frame past its turn: a display change in
    // between takes it along in the same paint.
    if (frame.only_pane())
        delay = qMax(delay, pane_ms + frame_ms - (now - last_pane_ms));
    if (frame_timer.isActive() && frame_timer.remainingTime() <= delay)
        return;
    frame_timer.start(int(qMax<qint64>(0, delay)));
}

// Brings the screen up to date with every line handled since the last frame.
void frmain::paint_frame()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const bool pane_due = now - last_pane_ms >= pane_ms;
    const PendingFrame::Frame next = frame.take(pane_due);
    // The displays' frame clock: the pane's own turns do not hold them back.
    if (next.changed & ~PendingFrame::Pane)
        last_frame_ms = now;
    if (next.changed & PendingFrame::Speed) {
        show_text(speed_lineedit, next.speed);
        set_displays_stale(false);
        stale_timer.start(int(qMax<qint64>(0, acquisition.stale_watch().deadline() - now)));
    }
    if (next.changed & PendingFrame::Average)
        show_text(avg_speed_lineedit, next.average);
    if (next.changed & PendingFrame::Temperature)
        show_text(temp_lineedit, next.temperature);
    if (next.changed & PendingFrame::Pane) {
        append_to_pane(status_textedit, next.pane);
        last_pane_ms = now;
    }
    tick_trend_views();
    request_frame();
}

void frmain::check_stale()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    acquisition.check_stale(now);
    const qint64 deadline = acquisition.stale_watch().deadline();
    if (!displays_stale && deadline > now)
        stale_timer.start(int(deadline - now));
}

// Stale values stay readable but grey, until the next valid line, which
// clears it through the next frame.
void frmain::stale(bool stale, qint64)
{
    if (!stale)
        return;
    set_displays_stale(true);
    tick_trend_views();
}

void frmain::set_displays_stale(bool stale)
{
    if (stale == displays_stale)
        return;
    displays_stale = stale;
    const QString colour = stale ? QStringLiteral("gray") : QStringLiteral("red");
    for (QLineEdit *display : {speed_lineedit, avg_speed_lineedit, temp_lineedit})
        display->setStyleSheet(display_style(colour));
}

void frmain::tick_trend_views()
{
    trend_view->frame_tick();
    if (trend_window)
        trend_window->frame_tick();
}
