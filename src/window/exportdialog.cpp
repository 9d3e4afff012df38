#include "exportdialog.h"

#include "exportname.h"
#include "messagebox.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

QString ask_export_path(QWidget *parent, const QString &caption, const QString &proposed,
                        const QString &suffix, const QStringList &kept)
{
    // The dialog would offer to replace the name typed, which may not be
    // the one written: the replacing is asked below, of the file itself.
    const QString chosen = QFileDialog::getSaveFileName(
        parent, caption, proposed, QStringLiteral("%1 (*.%2)").arg(suffix.toUpper(), suffix),
        nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return QString();
    QString refusal;
    const QString path = export_target(chosen, suffix, kept, &refusal);
    if (path.isEmpty()) {
        show_message(refusal);
        return QString();
    }
    if (QFileInfo::exists(path)
        && !ask_yes_no(QCoreApplication::translate("ExportDialog", "%1 已存在，要替换它吗？")
                           .arg(QFileInfo(path).fileName())))
        return QString();
    return path;
}
