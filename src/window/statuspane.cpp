#include "statuspane.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

void append_to_pane(QTextEdit *pane, const QString &text, int keep)
{
    pane->moveCursor(QTextCursor::End, QTextCursor::MoveAnchor);
    pane->insertPlainText(text);

    QTextDocument *document = pane->document();
    if (pane_over(document->blockCount(), keep)) {
        QTextCursor cursor(document);
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor,
                            document->blockCount() - keep);
        cursor.removeSelectedText();
        pane->ensureCursorVisible();
    }
}
