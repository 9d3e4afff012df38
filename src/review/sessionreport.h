#ifndef SESSIONREPORT_H
#define SESSIONREPORT_H

#include "reviewfigures.h"
#include "reviewlog.h"
#include "sessioninfo.h"

#include <QCoreApplication>
#include <QString>

class QIODevice;
class ReportLayout;

// The session report: one or two A4 pages of PDF with the files, the times,
// the port and the instrument's configuration, a plot of the whole session,
// the figures of speed and temperature, the flags, the gaps and losses, the
// alarms and the cross-check against the equations; and, when the log has
// positions, a page with the track coloured by sound speed. Lists longer than
// `listed` show their first entries and how many there are in all, so the
// report keeps to two pages. Needs a QGuiApplication for its fonts.
class SessionReport
{
    Q_DECLARE_TR_FUNCTIONS(SessionReport)

public:
    static constexpr int listed = 8;

    SessionReport(const ReviewLog &log, const ReviewFigures &figures, const SessionInfo &info)
        : log(log), figures(figures), info(info)
    {
    }

    // Replaces path only once the whole report is written; otherwise false
    // with the reason in *error.
    bool write(const QString &path, QString *error) const;
    bool write(QIODevice *device) const;

private:
    void write_session(ReportLayout &layout) const;
    void write_settings(ReportLayout &layout) const;
    void write_figures(ReportLayout &layout, const SpanFigures &whole) const;
    void write_gaps(ReportLayout &layout, const SpanFigures &whole) const;
    void write_alarms(ReportLayout &layout) const;
    void write_cross_check(ReportLayout &layout, const SpanFigures &whole) const;
    void write_notes(ReportLayout &layout) const;
    void write_map(ReportLayout &layout) const;

    const ReviewLog &log;
    const ReviewFigures &figures;
    const SessionInfo &info;
};

#endif
