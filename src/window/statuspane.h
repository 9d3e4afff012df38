#ifndef STATUSPANE_H
#define STATUSPANE_H

#include <QString>

class QTextEdit;

// The pane keeps the newest paragraphs only; the recording file keeps the
// whole stream: about ten minutes at 8 lines a second.
const int status_pane_keep = 5000;

// The pane trims once it is past keep paragraphs by a half. A trim costs
// about as much whatever it removes (the lines below it move up), so trimming
// rarely and much is cheaper at high rates; keep 0 never trims.
inline int pane_most(int keep)
{
    return keep + keep / 2;
}

inline bool pane_over(int paragraphs, int keep)
{
    return keep > 0 && paragraphs > pane_most(keep);
}

// Adds text at the end of the pane and scrolls once to its last line. Past keep
// paragraphs by a half, the oldest go in one edit, so each append stays
// cheap; keep 0 never trims.
void append_to_pane(QTextEdit *pane, const QString &text, int keep = status_pane_keep);

// Makes each turn of the pane cheap. The scroll bar moves with every turn; it
// covers its place, so marked opaque (again whenever a style polishes the
// mark away) the tabs and group boxes behind it are not drawn again. The
// text runs left to right, so no paragraph is scanned for its direction.
void set_up_pane(QTextEdit *pane);

#endif
