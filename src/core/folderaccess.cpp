#include "folderaccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

// Why nothing can be written in an existing folder, or empty.
static QString write_problem(const QString &folder)
{
    if (QStorageInfo(folder).isReadOnly())
        return QCoreApplication::translate("FolderAccess", "所在文件系统为只读");
    if (!QFileInfo(folder).isWritable())
        return QCoreApplication::translate("FolderAccess", "没有写入权限");
    return QString();
}

QString prepare_folder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return write_problem(folder);
    if (info.exists())
        return QCoreApplication::translate("FolderAccess", "不是文件夹");
    // The nearest folder above that exists says why it cannot be made.
    QString above = QDir::cleanPath(info.absoluteFilePath());
    while (!QFileInfo::exists(above) && QFileInfo(above).path() != above)
        above = QFileInfo(above).path();
    if (!QFileInfo(above).isDir())
        return QCoreApplication::translate("FolderAccess", "路径中的 %1 不是文件夹")
            .arg(QDir::toNativeSeparators(above));
    const QString problem = write_problem(above);
    if (!problem.isEmpty())
        return QCoreApplication::translate("FolderAccess", "无法创建该文件夹：%1").arg(problem);
    return QDir().mkpath(folder) ? QString()
                                 : QCoreApplication::translate("FolderAccess", "无法创建该文件夹");
}
