#ifndef SESSIONPLOT_H
#define SESSIONPLOT_H

#include "reviewlog.h"

#include <QCoreApplication>
#include <QRectF>

class QPainter;

// The speed axis' name, shared with the report's figures table.
inline constexpr char speed_with_unit[] = QT_TRANSLATE_NOOP("SessionPlot", "声速 (m/s)");

// The whole session's speed as the report shows it: the good readings as a
// line broken at every gap, the flagged ones as dots in another colour, time
// in UTC. A million readings become a few points a column: the first, the
// lowest, the highest and the last reading each column holds.
class SessionPlot
{
    Q_DECLARE_TR_FUNCTIONS(SessionPlot)

public:
    SessionPlot(const ReviewLog &log, qint64 stale_ms) : log(log), stale_ms(stale_ms) { }

    void draw(QPainter &painter, const QRectF &area) const;

private:
    struct Scale
    {
        QRectF frame;
        qint64 from_ms, to_ms;
        double low, high;
        double x(qint64 ms) const;
        double y(double speed) const;
    };

    bool speed_range(double *low, double *high) const;
    void draw_axes(QPainter &painter, const Scale &scale) const;
    void draw_readings(QPainter &painter, const Scale &scale) const;
    void draw_flagged(QPainter &painter, const Scale &scale) const;
    void draw_legend(QPainter &painter, const Scale &scale) const;

    const ReviewLog &log;
    qint64 stale_ms;
};

#endif
