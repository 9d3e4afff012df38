#ifndef SHOWNWIDGETS_H
#define SHOWNWIDGETS_H

#include <QStringList>

class QWidget;

// Every text root and the widgets in it can show: titles, captions,
// tooltips, items, table headers and cells, plot labels.
QStringList shown_texts(QWidget *root);
// The captions of visible labels, buttons, tabs and group boxes in root that
// are wider than the room their widget gives them.
QStringList cut_texts(QWidget *root);

#endif
