#include "pendingframe.h"
#include "statuspane.h"

// The text last set is the one shown or about to be: the same again is no
// change, except for the speed, whose every line means the values are live.
void PendingFrame::set(QString &field, const QString &text, Change change)
{
    if (change != Speed && field == text)
        return;
    field = text;
    changed |= change;
}

void PendingFrame::append_pane(const QString &text)
{
    if (text.isEmpty())
        return;
    pane += text;
    pane_paragraphs += text.count(QLatin1Char('\n'));
    changed |= Pane;
    if (pane_over(pane_paragraphs, keep))
        trim_pane();
}

// Drops the oldest paragraphs of the batch, keeping the newest keep; the
// pane would trim them anyway, and they cost time to lay out.
void PendingFrame::trim_pane()
{
    int cut = pane.size();
    for (int found = 0; found <= keep; ++found) {
        cut = cut > 0 ? pane.lastIndexOf(QLatin1Char('\n'), cut - 1) : -1;
        if (cut < 0)
            return;
    }
    pane.remove(0, cut + 1);
    pane_paragraphs = keep;
}

qint64 PendingFrame::wait_ms(qint64 now_ms) const
{
    if (empty())
        return -1;
    return qBound<qint64>(0, last_frame_ms + frame_ms - now_ms, frame_ms);
}

PendingFrame::Frame PendingFrame::take(qint64 now_ms)
{
    Frame frame;
    if (empty())
        return frame;
    frame.changed = changed;
    frame.speed = speed;
    frame.average = average;
    frame.temperature = temperature;
    frame.pane.swap(pane);
    changed = 0;
    pane_paragraphs = 0;
    last_frame_ms = now_ms;
    return frame;
}
