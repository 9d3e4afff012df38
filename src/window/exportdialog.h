#ifndef EXPORTDIALOG_H
#define EXPORTDIALOG_H

#include <QString>
#include <QStringList>

class QWidget;

// Asks where to write an export of the kind suffix ("pdf", "png", "csv"),
// proposing proposed (a name, or a path beside what the export is made of),
// and gives the place to write as export_target() makes it: what must not be
// replaced is refused in a box, and an export of the same kind there is
// replaced only when the operator says so. Empty when there is nothing to
// write.
QString ask_export_path(QWidget *parent, const QString &caption, const QString &proposed,
                        const QString &suffix, const QStringList &kept = QStringList());

#endif
