#include "statuspane.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

void append_to_pane(QTextEdit *pane, const QString &text)
{
    QTextDocument *document = pane->document();
    if (document->blockCount() > status_pane_keep + status_pane_slack) {
        QTextCursor cursor(document);
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor,
                            document->blockCount() - status_pane_keep);
        cursor.removeSelectedText();
    }

    pane->moveCursor(QTextCursor::End, QTextCursor::MoveAnchor);
    pane->insertPlainText(text);
}
