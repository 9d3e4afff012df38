#include "reportcommand.h"

#include "logreader.h"
#include "reviewfigures.h"
#include "sessionreport.h"

#include <QCoreApplication>
#include <QTextStream>

int write_report_from_file(const QString &log_path, const QString &pdf_path,
                           const ReviewOptions &options, QTextStream &err)
{
    const ReviewLog log = LogReader(options).read(log_path);
    for (const QString &problem : log.problems)
        err << problem << '\n';
    if (!log.readable()) {
        err.flush();
        return 1;
    }
    const ReviewFigures figures(log, options);
    QString error;
    if (!SessionReport(log, figures, SessionInfo()).write(pdf_path, &error)) {
        err << QCoreApplication::translate("ReportCommand", "无法写入 %1：%2").arg(pdf_path, error)
            << '\n';
        err.flush();
        return 2;
    }
    err.flush();
    return 0;
}
