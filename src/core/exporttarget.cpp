#include "exporttarget.h"

#include <QCoreApplication>
#include <QFileInfo>

QString export_refusal(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    if (info.isFile())
        return QString();
    return QCoreApplication::translate("ExportTarget", "只能导出到普通文件：%1").arg(path);
}
