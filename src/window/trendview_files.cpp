// The trend view's files: the PNG and CSV of the span shown, the session report.
#include "timetext.h"
#include "trendview.h"

#include "csvrow.h"
#include "exportdialog.h"
#include "exportname.h"
#include "exporttarget.h"
#include "livereport.h"
#include "logreader.h"
#include "messagebox.h"
#include "sessionreport.h"
#include "trendmodel.h"
#include "trendplot.h"
#include "watersettings.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>

// Beside the log being written, named by it; or by the port.
QString TrendView::proposed_path(const QString &suffix) const
{
    const QFileInfo log(session.log);
    const QString folder = session.log.isEmpty() ? QString() : log.absolutePath() + '/';
    if (suffix == QLatin1String("pdf") && !session.log.isEmpty())
        return folder + log.completeBaseName() + QStringLiteral(".pdf");
    qint64 from = trend_plot->from_msecs(), to = trend_plot->to_msecs();
    const TrendBuffer &buffer = model->buffer();
    if (suffix == QLatin1String("pdf") && !buffer.empty()) { // the readings held
        from = buffer.at(0).msecs;
        to = buffer.last().msecs;
    }
    return folder
        + export_name(session.log.isEmpty() ? session.port : session.log, from, to, suffix);
}

// The files being written are never replaced by an export.
QString TrendView::ask_path(QPushButton *button, const QString &suffix)
{
    return ask_export_path(this, button->text(), proposed_path(suffix), suffix,
                           {session.log, session.recording});
}

void TrendView::export_with_dialog(QPushButton *button, bool png)
{
    const QString path = ask_path(button, png ? "png" : "csv");
    if (!path.isEmpty() && !(png ? export_png(path) : export_csv(path)))
        show_message(tr("文件写入失败：\n%1").arg(path));
}

void TrendView::report_with_dialog(QPushButton *button)
{
    const QString path = ask_path(button, "pdf");
    QString error;
    if (!path.isEmpty() && !write_report(path, &error))
        show_message(error);
}

// Titled with where the readings come from and the span in UTC; a file
// named by its start time (as --record names them) says that time is local.
bool TrendView::export_png(const QString &path)
{
    if (!export_refusal(path).isEmpty())
        return false;
    QString source = !session.log.isEmpty() ? QFileInfo(session.log).fileName()
        : !session.port.isEmpty()           ? session.port
                                            : tr("实时数据");
    static const QRegularExpression stamp(QStringLiteral("\\d{8}_\\d{6}"));
    if (!session.log.isEmpty() && stamp.match(source).hasMatch())
        source
            += tr("（文件名中的时间为本地时间 %1）").arg(local_zone_text(trend_plot->from_msecs()));
    const auto utc = [](qint64 ms) {
        return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString("yyyy-MM-dd hh:mm:ss");
    };
    return trend_plot->export_png(
        path,
        QString("%1    %2 – %3 UTC")
            .arg(source, utc(trend_plot->from_msecs()), utc(trend_plot->to_msecs())));
}

// The measurement log's dialect, so a spreadsheet or script reads both alike.
bool TrendView::export_csv(const QString &path) const
{
    if (!export_refusal(path).isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = csv_header();
    const TrendBuffer &buffer = model->buffer();
    const int end = buffer.first_at_or_after(trend_plot->to_msecs() + 1);
    for (int i = buffer.first_at_or_after(trend_plot->from_msecs()); i < end; ++i) {
        const TrendSample &sample = buffer.at(i);
        text += csv_row(sample.msecs,
                        {csv_number(sample.speed), csv_number(sample.temperature),
                         csv_number(sample.average),
                         QString::fromLatin1(quality_name(sample.quality)), QString(), QString()});
        // Written as it goes, so two hours of rows never sit in memory at once.
        if (text.size() >= 65536) {
            if (file.write(text) != text.size())
                return false;
            text.clear();
        }
    }
    return file.write(text) == text.size() && file.commit();
}

// The log being written holds the whole session with its events; the readings
// held are the fallback, and say so in the report.
bool TrendView::write_report(const QString &path, QString *error) const
{
    ReviewOptions options;
    options.salinity = water->salinity();
    options.depth = water->depth();
    const bool from_log = !session.log.isEmpty() && QFileInfo(session.log).isFile();
    const ReviewLog log = from_log ? LogReader(options).read(session.log) : review_log_from(*model);
    const ReviewFigures figures(log, options);
    return SessionReport(log, figures, session).write(path, error);
}
