#ifndef STATUSPANE_H
#define STATUSPANE_H

#include <QString>

class QTextEdit;

// The pane keeps the newest paragraphs only; the recording file keeps the
// whole stream. About ten minutes at 8 lines a second, for some 2 MB.
const int status_pane_keep = 5000;

// The pane trims once it is past keep paragraphs by a tenth, so that each
// trim removes many at once; keep 0 never trims.
inline bool pane_over(int paragraphs, int keep)
{
    return keep > 0 && paragraphs > keep + keep / 10;
}

// Adds text at the end of the pane and scrolls once to its last line. Past keep
// paragraphs by a tenth, the oldest go in one edit, so each append stays
// cheap; keep 0 never trims.
void append_to_pane(QTextEdit *pane, const QString &text, int keep = status_pane_keep);

// Makes each turn of the pane cheap. The scroll bar moves with every turn; it
// covers its place, so marked opaque (again whenever a style polishes the
// mark away) the tabs and group boxes behind it are not drawn again. The
// text runs left to right, so no paragraph is scanned for its direction.
void set_up_pane(QTextEdit *pane);

#endif
