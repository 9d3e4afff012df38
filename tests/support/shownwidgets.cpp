#include "shownwidgets.h"

#include <QtWidgets>
#include <qcustomplot.h>

static void add_model(QAbstractItemModel *model, QStringList *texts)
{
    for (int column = 0; column < model->columnCount(); ++column)
        *texts << model->headerData(column, Qt::Horizontal).toString()
               << model->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString();
    for (int row = 0; row < qMin(model->rowCount(), 200); ++row)
        for (int column = 0; column < model->columnCount(); ++column)
            for (int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole)})
                *texts << model->index(row, column).data(role).toString();
}

static void add_plot(QCustomPlot *plot, QStringList *texts)
{
    for (QCPAxisRect *rect : plot->axisRects())
        for (QCPAxis *axis : rect->axes())
            *texts << axis->label();
    for (int i = 0; i < plot->plottableCount(); ++i)
        *texts << plot->plottable(i)->name();
    for (QCPLayoutElement *element : plot->plotLayout()->elements(true))
        if (auto *text = qobject_cast<QCPTextElement *>(element))
            *texts << text->text();
}

static void add_widget(QWidget *w, QStringList *texts)
{
    *texts << w->toolTip() << w->whatsThis();
    if (w->isWindow())
        *texts << w->windowTitle();
    for (QAction *action : w->actions())
        *texts << action->text() << action->toolTip();
    if (auto *label = qobject_cast<QLabel *>(w))
        *texts << label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        *texts << button->text();
    else if (auto *group = qobject_cast<QGroupBox *>(w))
        *texts << group->title();
    else if (auto *line = qobject_cast<QLineEdit *>(w))
        *texts << line->text() << line->placeholderText();
    else if (auto *edit = qobject_cast<QTextEdit *>(w))
        *texts << edit->toPlainText() << edit->placeholderText();
    else if (auto *spin = qobject_cast<QSpinBox *>(w))
        *texts << spin->prefix() << spin->suffix() << spin->specialValueText();
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(w))
        *texts << spin->prefix() << spin->suffix() << spin->specialValueText();
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        add_model(combo->model(), texts);
    else if (auto *view = qobject_cast<QAbstractItemView *>(w); view && view->model())
        add_model(view->model(), texts);
    else if (auto *plot = qobject_cast<QCustomPlot *>(w))
        add_plot(plot, texts);
    if (auto *tabs = qobject_cast<QTabBar *>(w))
        for (int i = 0; i < tabs->count(); ++i)
            *texts << tabs->tabText(i) << tabs->tabToolTip(i);
}

QStringList shown_texts(QWidget *root)
{
    QStringList texts;
    add_widget(root, &texts);
    for (QWidget *w : root->findChildren<QWidget *>())
        add_widget(w, &texts);
    texts.removeAll(QString());
    return texts;
}

static QString caption(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// How wide a button's caption may be: the contents rectangle its style gives.
static int button_room(QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox *>(button))
        element = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<QRadioButton *>(button))
        element = QStyle::SE_RadioButtonContents;
    int room = button->style()->subElementRect(element, &option, button).width();
    if (!button->icon().isNull())
        room -= button->iconSize().width() + 4;
    return room;
}

static void check_tabs(QTabBar *bar, QStringList *cut)
{
    int total = 0;
    for (int i = 0; i < bar->count(); ++i) {
        total += bar->tabRect(i).width();
        const int text = bar->fontMetrics().horizontalAdvance(caption(bar->tabText(i)));
        if (text > bar->tabRect(i).width())
            *cut << bar->tabText(i);
    }
    if (total > bar->width())
        *cut << QStringLiteral("tabs: ") + bar->tabText(0);
}

// A list's items whole, without a horizontal scroll bar.
static void check_list(QListWidget *list, QStringList *cut)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->fontMetrics().horizontalAdvance(list->item(i)->text()) + 4
            > list->viewport()->width())
            *cut << list->item(i)->text();
}

static void check_widget(QWidget *w, QStringList *cut)
{
    const QFontMetrics &metrics = w->fontMetrics();
    // What the parents cut off a widget wider than the room they give it.
    const int hidden = w->width() - w->visibleRegion().boundingRect().width();
    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (label->wordWrap() || Qt::mightBeRichText(label->text()))
            return;
        for (const QString &line : label->text().split(QLatin1Char('\n')))
            if (metrics.horizontalAdvance(caption(line)) > label->contentsRect().width() - hidden)
                *cut << label->text();
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        if (!button->text().isEmpty()
            && metrics.horizontalAdvance(caption(button->text())) > button_room(button) - hidden)
            *cut << button->text();
    } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
        if (metrics.horizontalAdvance(caption(group->title())) + 16 > group->width() - hidden)
            *cut << group->title();
    } else if (auto *bar = qobject_cast<QTabBar *>(w)) {
        check_tabs(bar, cut);
    } else if (auto *list = qobject_cast<QListWidget *>(w)) {
        check_list(list, cut);
    }
}

QStringList cut_texts(QWidget *root)
{
    QStringList cut;
    for (QWidget *w : root->findChildren<QWidget *>())
        if (w->isVisible() && w->width() > 0)
            check_widget(w, &cut);
    return cut;
}
