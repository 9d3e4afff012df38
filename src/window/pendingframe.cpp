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

PendingFrame::Frame PendingFrame::take(bool with_pane)
{
    Frame frame;
    frame.changed = with_pane ? changed : changed & ~Pane;
    frame.speed = speed;
    frame.average = average;
    frame.temperature = temperature;
    changed &= ~frame.changed;
    if (with_pane) {
        frame.pane.swap(pane);
        pane_paragraphs = 0;
    }
    return frame;
}
