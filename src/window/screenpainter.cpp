#include "screenpainter.h"

#include "displayedit.h"
#include "statuspane.h"
#include "statustabs.h"

#include <QDateTime>
#include <QTextEdit>

ScreenPainter::ScreenPainter(QLineEdit *speed, QLineEdit *average, QLineEdit *temperature,
                             QTextEdit *pane, StatusTabs *tabs, QObject *parent)
    : QObject(parent), speed(speed), average(average), temperature(temperature), pane(pane),
      tabs(tabs), pending(status_pane_keep)
{
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &ScreenPainter::paint);
}

void ScreenPainter::add_received(const QString &text, qint64 utc_ms)
{
    if (!arrival_times) {
        pending.append_pane(text);
        return;
    }
    const QString stamp
        = QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::UTC).toString(QStringLiteral("hh:mm:ss.zzz"))
        + QStringLiteral("Z ");
    QString stamped;
    for (const QChar c : text) {
        if (at_line_start)
            stamped += stamp;
        stamped += c;
        at_line_start = c == QLatin1Char('\n');
    }
    pending.append_pane(stamped);
}

// More than the recogniser needs, so junk between another probe's first
// lines does not show them before it decides.
static const int unrecognised_kept = 8;

void ScreenPainter::hold_unrecognised(const QString &text, qint64 utc_ms)
{
    if (showing_unrecognised) {
        add_received(text, utc_ms);
        return;
    }
    unrecognised.append({text, utc_ms});
    if (unrecognised.size() > unrecognised_kept) {
        release_unrecognised(true);
        showing_unrecognised = true;
    }
}

void ScreenPainter::release_unrecognised(bool show)
{
    if (show) {
        for (const Waiting &line : qAsConst(unrecognised))
            add_received(line.text, line.utc_ms);
    }
    unrecognised.clear();
    showing_unrecognised = false;
}

void ScreenPainter::add_note(const QString &line)
{
    if (!at_line_start)
        pending.append_pane(QStringLiteral("\n"));
    pending.append_pane(line);
    at_line_start = true;
}

void ScreenPainter::request()
{
    const qint64 wait = pending.wait_ms(QDateTime::currentMSecsSinceEpoch());
    if (wait < 0 || timer.isActive())
        return;
    timer.start(int(wait));
}

// Setting a display relays out its text even when it is the same.
static void show_text(QLineEdit *display, const QString &text)
{
    if (display->text() != text)
        display->setText(text);
}

void ScreenPainter::paint()
{
    const PendingFrame::Frame next = pending.take(QDateTime::currentMSecsSinceEpoch());
    if (next.changed & PendingFrame::Speed) {
        show_text(speed, next.speed);
        set_stale(false);
    }
    if (next.changed & PendingFrame::Average)
        show_text(average, next.average);
    if (next.changed & PendingFrame::Temperature)
        show_text(temperature, next.temperature);
    if (next.changed & PendingFrame::Pane)
        append_to_pane(pane, next.pane);
    tabs->frame_tick();
}

void ScreenPainter::set_stale(bool stale)
{
    if (stale != stale_now) {
        stale_now = stale;
        // Every display is one of ours; the window keeps them as line edits.
        for (QLineEdit *display : {speed, average, temperature})
            static_cast<DisplayEdit *>(display)->set_stale(stale);
    }
    if (stale)
        tabs->frame_tick();
}
