#ifndef STATUSPANE_H
#define STATUSPANE_H

#include <QString>

class QTextEdit;

// The pane keeps the newest paragraphs only; the recording file keeps the
// whole stream. Trimming in batches keeps each append cheap.
const int status_pane_keep = 5000;
const int status_pane_slack = 500;

// Adds text at the end of the pane and brings it into view.
void append_to_pane(QTextEdit *pane, const QString &text);

#endif
