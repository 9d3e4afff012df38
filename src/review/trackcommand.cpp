#include "trackcommand.h"

#include "logreader.h"
#include "reviewtrack.h"
#include "trackexport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int export_track_from_file(const QString &log_path, const QString &format, const QString &out_path,
                           QTextStream &err)
{
    track_export::Format chosen;
    if (!track_export::format_from_name(format, &chosen)) {
        err << QCoreApplication::translate("TrackCommand", "未知的航迹格式：%1").arg(format)
            << Qt::endl;
        return 2;
    }
    const ReviewLog log = LogReader().read(log_path);
    if (!log.readable()) {
        err << log.problems.join('\n') << Qt::endl;
        return 1;
    }
    const QVector<TrackPoint> points = review_track(log);
    QString error;
    if (points.isEmpty()) {
        err << QCoreApplication::translate("TrackCommand", "%1：%2")
                   .arg(log_path, track_export::no_positions_error())
            << Qt::endl;
        return 1;
    }
    if (!track_export::write_file(out_path, chosen, points, QFileInfo(log_path).fileName(),
                                  &error)) {
        err << error << Qt::endl;
        return 2;
    }
    return 0;
}
