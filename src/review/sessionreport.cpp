#include "sessionreport.h"

#include "figuretext.h"
#include "reportlayout.h"
#include "reviewtrack.h"
#include "sessionmap.h"
#include "sessionplot.h"
#include "trackexport.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QPdfWriter>
#include <QSaveFile>

// The columns of a table of intervals.
static QStringList interval_header()
{
    return {SessionReport::tr("起 (UTC)"), SessionReport::tr("止 (UTC)"),
            SessionReport::tr("时长")};
}

static QString utc_text(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

static QString text_or_dash(const QString &text)
{
    return text.isEmpty() ? QString(no_figure) : text;
}

// A table of at most SessionReport::listed rows, and how many there were.
static void capped_table(ReportLayout &layout, const QStringList &header,
                         const QVector<QStringList> &rows, const QVector<qreal> &widths)
{
    if (rows.isEmpty()) {
        layout.paragraph(SessionReport::tr("无"));
        return;
    }
    layout.table(header, rows.mid(0, SessionReport::listed), widths);
    if (rows.size() > SessionReport::listed)
        layout.paragraph(SessionReport::tr("以上为前 %1 项，共 %n 项", nullptr, rows.size())
                             .arg(SessionReport::listed));
}

namespace {
struct Interval
{
    qint64 from_ms, to_ms; // to_ms -1 while it never ended
    QString name;
};
} // namespace

// Pairs each start event with the next end event of the same name: events
// start_prefix + NAME and end_prefix + NAME. One never ended has to_ms -1.
static QVector<Interval> intervals(const std::vector<LogEvent> &events, QLatin1String start_prefix,
                                   QLatin1String end_prefix)
{
    QVector<Interval> found;
    QHash<QString, int> open;
    for (const LogEvent &event : events) {
        if (event.name.startsWith(start_prefix)) {
            // A second start before the end: the first one never ended.
            const QString name = event.name.mid(start_prefix.size());
            open.insert(name, found.size());
            found.append({event.utc_ms, -1, name});
        } else if (event.name.startsWith(end_prefix)) {
            const auto at = open.find(event.name.mid(end_prefix.size()));
            if (at != open.end()) {
                found[*at].to_ms = event.utc_ms;
                open.erase(at);
            }
        }
    }
    return found;
}

// From, to (or that it never ended) and how long, of each interval.
static QVector<QStringList> interval_rows(const QVector<Interval> &list, bool named)
{
    QVector<QStringList> rows;
    for (const Interval &interval : list) {
        QStringList row{utc_text(interval.from_ms),
                        interval.to_ms < 0 ? SessionReport::tr("未结束") : utc_text(interval.to_ms),
                        interval.to_ms < 0 ? QString(no_figure)
                                           : duration_text(interval.to_ms - interval.from_ms)};
        if (named)
            row.prepend(interval.name);
        rows.append(row);
    }
    return rows;
}

bool SessionReport::write(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (!write(&file)) {
        file.cancelWriting();
        *error = tr("无法绘制报告");
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool SessionReport::write(QIODevice *device) const
{
    QPdfWriter writer(device);
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    writer.setTitle(tr("声速测量报告"));
    writer.setCreator(QStringLiteral("svterminal"));
    ReportLayout layout(&writer);
    if (!layout.active())
        return false;
    const SpanFigures whole = figures.whole();
    layout.title(writer.title());
    write_session(layout);
    write_settings(layout);
    SessionPlot(log, figures.stale_ms()).draw(layout.canvas(), layout.block(75));
    write_figures(layout, whole);
    write_gaps(layout, whole);
    write_alarms(layout);
    write_cross_check(layout, whole);
    write_notes(layout);
    write_map(layout);
    return layout.finish();
}

void SessionReport::write_session(ReportLayout &layout) const
{
    const bool raw = log.kind == ReviewLog::Kind::raw;
    const QString recording = !info.recording.isEmpty() ? info.recording : raw ? log.path : "";
    const QString csv = !info.log.isEmpty() ? info.log : raw ? "" : log.path;
    const QString estimated = log.times_estimated ? tr("（估计）") : QString();
    layout.heading(tr("文件与时间"));
    layout.table({},
                 {{tr("原始记录"), text_or_dash(QFileInfo(recording).fileName())},
                  {tr("测量日志"), text_or_dash(QFileInfo(csv).fileName())},
                  {tr("开始 (UTC)"), utc_text(log.start_ms)},
                  {tr("结束 (UTC)"), utc_text(log.end_ms) + estimated},
                  {tr("时长"), duration_text(log.end_ms - log.start_ms) + estimated}},
                 {0.25, 0.75});
}

// The formats the log names (format:NAME), in the order they came; one that
// names none read the default instrument, unless the session says otherwise.
static QString formats_read(const ReviewLog &log, const SessionInfo &info)
{
    QStringList names;
    for (const LogEvent &event : log.events) {
        if (event.name.startsWith(QLatin1String("format:")) && !names.contains(event.name.mid(7)))
            names << event.name.mid(7);
    }
    if (names.isEmpty())
        names << (info.input_format.isEmpty() || info.input_format == QLatin1String("auto")
                      ? QStringLiteral("dollar")
                      : info.input_format);
    return names.join(SessionReport::tr("、"));
}

void SessionReport::write_settings(ReportLayout &layout) const
{
    layout.heading(tr("串口与仪器配置"));
    layout.paragraph(tr("串口：%1    线路设置：%2    输入格式：%3")
                         .arg(text_or_dash(info.port), text_or_dash(info.line_settings),
                              formats_read(log, info)));
    if (!info.configuration.isEmpty())
        layout.paragraph(tr("发送的配置命令：%1").arg(info.configuration.join(tr("；"))));
    const QVector<QStringList> rows = interval_rows(
        intervals(log.events, QLatin1String("config_start"), QLatin1String("config_end")), false);
    layout.paragraph(tr("会话中的配置过程：%n 次", nullptr, rows.size()));
    if (!rows.isEmpty())
        capped_table(layout, interval_header(), rows, {0.3, 0.3, 0.2});
}

void SessionReport::write_figures(ReportLayout &layout, const SpanFigures &whole) const
{
    layout.heading(tr("统计（合格读数）"));
    const RunningMoments &s = whole.speed, &t = whole.temperature;
    const auto extreme = [](const RunningMoments &m, double value, int decimals) {
        return m.count > 0 ? figure_text(value, decimals) : QString(no_figure);
    };
    // The plot's axis name, as the plot above shows it.
    const QString speed = QCoreApplication::translate("SessionPlot", speed_with_unit);
    layout.table({QString(), speed, tr("温度 (°C)")},
                 {{tr("计数"), QString::number(s.count), QString::number(t.count)},
                  {tr("最小"), extreme(s, s.min, 3), extreme(t, t.min, 4)},
                  {tr("最大"), extreme(s, s.max, 3), extreme(t, t.max, 4)},
                  {tr("平均"), extreme(s, s.mean, 3), extreme(t, t.mean, 4)},
                  {tr("标准差"), figure_text(s.deviation()), figure_text(t.deviation(), 4)}},
                 {0.2, 0.25, 0.25});
    const QString rejected = log.kind == ReviewLog::Kind::raw ? tr("畸形行") : tr("无法读取的行");
    layout.paragraph(tr("有效读数 %1 行，速率 %2 行/秒；标记：超限 %3，尖峰 %4；%5 %6")
                         .arg(whole.readings)
                         .arg(figure_text(whole.rate, 2))
                         .arg(whole.range_count)
                         .arg(whole.spike_count)
                         .arg(rejected)
                         .arg(whole.rejected));
}

void SessionReport::write_gaps(ReportLayout &layout, const SpanFigures &whole) const
{
    layout.heading(tr("间断与断线"));
    layout.paragraph(tr("读数间隔超过 %1 的间断：%2 处，共 %3")
                         .arg(duration_text(figures.stale_ms()))
                         .arg(whole.gap_count)
                         .arg(duration_text(whole.gap_ms)));
    QVector<Interval> gaps;
    for (const LogGap &gap : figures.gaps())
        gaps.append({gap.from_ms, gap.to_ms, QString()});
    if (!gaps.isEmpty())
        capped_table(layout, interval_header(), interval_rows(gaps, false), {0.3, 0.3, 0.2});

    const QVector<QStringList> losses = interval_rows(
        intervals(log.events, QLatin1String("port_lost"), QLatin1String("port_back")), false);
    layout.paragraph(tr("串口断开：%n 次", nullptr, losses.size()));
    if (!losses.isEmpty())
        capped_table(layout, interval_header(), losses, {0.3, 0.3, 0.2});
}

void SessionReport::write_alarms(ReportLayout &layout) const
{
    layout.heading(tr("报警"));
    capped_table(
        layout, QStringList{tr("报警", "table column")} + interval_header(),
        interval_rows(
            intervals(log.events, QLatin1String("alarm_on:"), QLatin1String("alarm_off:")), true),
        {0.25, 0.27, 0.27, 0.21});
}

void SessionReport::write_cross_check(ReportLayout &layout, const SpanFigures &whole) const
{
    layout.heading(tr("与声速方程的比对（盐度 %1，深度 %2 m，合格且带温度的读数 %3 行）")
                       .arg(figures.salinity())
                       .arg(figures.depth())
                       .arg(whole.temperature.count));
    const QString outside = tr("（超出适用范围）");
    QVector<QStringList> rows;
    for (const CrossCheckFigure &figure : whole.cross_check)
        rows.append(
            {QString::fromLatin1(equation_name(figure.equation)),
             figure_text(figure.mean_difference) + (figure.water_valid ? "" : outside),
             figure_text(figure.implied_salinity, 2) + (figure.implied_valid ? "" : outside)});
    layout.table({tr("方程"), tr("实测−计算 平均 (m/s)"), tr("推算盐度")}, rows, {0.2, 0.4, 0.4});
}

void SessionReport::write_notes(ReportLayout &layout) const
{
    if (log.problems.isEmpty() && log.notes.isEmpty())
        return;
    layout.heading(tr("说明"));
    for (const QString &text : log.problems + log.notes)
        layout.paragraph(text);
}

void SessionReport::write_map(ReportLayout &layout) const
{
    const QVector<TrackPoint> track = review_track(log);
    if (track.isEmpty())
        return;
    const auto where = [](const TrackPoint &p) {
        return track_export::coordinate_text(p.latitude) + QStringLiteral(", ")
            + track_export::coordinate_text(p.longitude);
    };
    layout.new_page();
    layout.heading(tr("航迹（按声速着色）"));
    layout.paragraph(tr("带位置的读数 %1 行；起点 %2（%3 UTC），终点 %4（%5 UTC）")
                         .arg(track.size())
                         .arg(where(track.first()), utc_text(track.first().utc_ms),
                              where(track.last()), utc_text(track.last().utc_ms)));
    SessionMap(track, layout.unit()).draw(layout.canvas(), layout.block(180));
}
