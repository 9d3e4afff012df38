#include "statuspane.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

namespace {

class OpaqueMark : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
            static_cast<QWidget *>(watched)->setAttribute(Qt::WA_OpaquePaintEvent);
        return false;
    }
};

// Following the end of a long pane, the handle moves by less than a pixel a
// turn; the bar repaints only when what it shows changes: the handle's place
// or length, or an end reached or left. Held during a turn, it looks once at
// the end, as the range grows first and the pane then scrolls to its end.
class SteadyScrollBar : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;

    void hold() { holding = true; }

    void release()
    {
        holding = false;
        if (looks() != painted)
            update();
    }

protected:
    void sliderChange(SliderChange change) override
    {
        if (change == SliderOrientationChange || (!holding && looks() != painted))
            QScrollBar::sliderChange(change);
    }

    void paintEvent(QPaintEvent *event) override
    {
        painted = looks();
        QScrollBar::paintEvent(event);
    }

private:
    struct Looks
    {
        QRect handle;
        bool at_start = false, at_end = false;
        bool operator!=(const Looks &o) const
        {
            return handle != o.handle || at_start != o.at_start || at_end != o.at_end;
        }
    };

    Looks looks() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider,
                                        this),
                value() == minimum(), value() == maximum()};
    }

    Looks painted;
    bool holding = false;
};

} // namespace

void set_up_pane(QTextEdit *pane)
{
    QTextOption option = pane->document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    pane->document()->setDefaultTextOption(option);

    pane->setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical));
    QScrollBar *bar = pane->verticalScrollBar();
    auto *mark = new OpaqueMark(pane);
    // The bar's container is as large as the bar.
    for (QWidget *widget : {static_cast<QWidget *>(bar), bar->parentWidget()}) {
        widget->installEventFilter(mark);
        widget->setAttribute(Qt::WA_OpaquePaintEvent);
    }
}

// Edits the document through a cursor of its own, so the pane does not
// scroll after each edit; it scrolls once at the end of the turn.
void append_to_pane(QTextEdit *pane, const QString &text, int keep)
{
    auto *bar = dynamic_cast<SteadyScrollBar *>(pane->verticalScrollBar());
    if (bar)
        bar->hold();
    QTextDocument *document = pane->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    if (pane_over(document->blockCount(), keep)) {
        // By position: moving by blocks lays out every line it passes.
        const int first_kept = document->blockCount() - keep;
        cursor.setPosition(0);
        cursor.setPosition(document->findBlockByNumber(first_kept).position(),
                           QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    // After a small edit to a long document the layout reports its new size
    // only from a timer, and the scroll bar reaches only as far as the size
    // last reported: report it now, or the pane stops short of its end.
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
    QScrollBar *end = pane->verticalScrollBar();
    end->setValue(end->maximum());
    if (bar)
        bar->release();
}
