#include "exportname.h"

#include "exporttarget.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

QString export_name(const QString &source, qint64 from_ms, qint64 to_ms, const QString &suffix)
{
    QString base = QFileInfo(source).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("sv");
    const auto utc = [](qint64 ms) {
        return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString("yyyyMMdd'T'hhmmss'Z'");
    };
    return QStringLiteral("%1_%2-%3.%4").arg(base, utc(from_ms), utc(to_ms), suffix);
}

// The first bytes of a file of the kind, where the kind has them.
static QByteArray signature(const QString &suffix)
{
    if (suffix == QLatin1String("pdf"))
        return QByteArrayLiteral("%PDF-");
    if (suffix == QLatin1String("png"))
        return QByteArrayLiteral("\x89PNG\r\n\x1a\n");
    return QByteArray();
}

QString export_target(const QString &chosen, const QString &suffix, const QStringList &kept,
                      QString *refusal)
{
    QString path = chosen;
    if (!path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        path += QLatin1Char('.') + suffix;
    *refusal = export_refusal(path);
    const QFileInfo target(path);
    if (refusal->isEmpty() && target.exists()) {
        for (const QString &file : kept) {
            if (!file.isEmpty()
                && QFileInfo(file).canonicalFilePath() == target.canonicalFilePath())
                *refusal = QCoreApplication::translate("ExportName",
                                                       "正在写入此文件，不能用导出覆盖它：%1")
                               .arg(path);
        }
        QFile existing(path);
        const QByteArray kind = signature(suffix);
        if (refusal->isEmpty() && !kind.isEmpty() && existing.size() > 0
            && (!existing.open(QIODevice::ReadOnly) || existing.read(kind.size()) != kind))
            *refusal = QCoreApplication::translate(
                           "ExportName", "%1 已存在，但不是 %2 文件，不会覆盖它；请另选文件名。")
                           .arg(path, suffix.toUpper());
    }
    return refusal->isEmpty() ? path : QString();
}
