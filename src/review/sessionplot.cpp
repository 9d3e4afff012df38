#include "sessionplot.h"

#include "qualitycheck.h"

#include <QDateTime>
#include <QPaintDevice>
#include <QPainter>
#include <QSet>

#include <cmath>
#include <limits>

static const QColor good_colour(0, 90, 180);
static const QColor flagged_colour(220, 40, 40);
static const QColor grid_colour(215, 215, 215);

double SessionPlot::Scale::x(qint64 ms) const
{
    return frame.left() + frame.width() * double(ms - from_ms) / double(to_ms - from_ms);
}

double SessionPlot::Scale::y(double speed) const
{
    return frame.bottom() - frame.height() * (speed - low) / (high - low);
}

// 1, 2 or 5 times a power of ten, at least raw.
static double nice_step(double raw)
{
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double multiple : {1.0, 2.0, 5.0})
        if (multiple * power >= raw)
            return multiple * power;
    return 10.0 * power;
}

// A clock-friendly step giving at most eight ticks over span_ms.
static qint64 time_step(qint64 span_ms)
{
    static const qint64 steps[]
        = {1000,   2000,   5000,    10000,   15000,   30000,    60000,    120000,   300000,
           600000, 900000, 1800000, 3600000, 7200000, 10800000, 21600000, 43200000, 86400000};
    for (qint64 step : steps)
        if (span_ms / step <= 8)
            return step;
    return 86400000 * (span_ms / 86400000 / 8 + 1);
}

bool SessionPlot::speed_range(double *low, double *high) const
{
    // The good readings set the scale; a wild flagged one stays at the edge.
    // Without any, the flagged ones do.
    for (bool good_only : {true, false}) {
        *low = std::numeric_limits<double>::infinity();
        *high = -*low;
        for (size_t i = 0; i < log.speed.size(); ++i) {
            if (good_only && log.quality[i] != quint8(Quality::ok))
                continue;
            *low = qMin(*low, log.speed[i]);
            *high = qMax(*high, log.speed[i]);
        }
        if (*low <= *high)
            return true;
    }
    return false;
}

void SessionPlot::draw(QPainter &painter, const QRectF &area) const
{
    const qreal mm = painter.device()->logicalDpiX() / 25.4;
    Scale scale;
    scale.frame = area.adjusted(20 * mm, 6 * mm, -2 * mm, -11 * mm);
    scale.from_ms = log.start_ms;
    scale.to_ms = qMax(log.end_ms, log.start_ms + 1000);
    painter.save();
    painter.setPen(QPen(Qt::black, 0.2 * mm));
    if (!speed_range(&scale.low, &scale.high)) {
        painter.drawRect(scale.frame);
        painter.drawText(scale.frame, Qt::AlignCenter, tr("没有读数"));
        painter.restore();
        return;
    }
    const double pad = scale.high > scale.low ? 0.05 * (scale.high - scale.low) : 0.5;
    scale.low -= pad;
    scale.high += pad;
    draw_axes(painter, scale);
    painter.setClipRect(scale.frame.adjusted(-mm, -mm, mm, mm));
    draw_readings(painter, scale);
    draw_flagged(painter, scale);
    painter.setClipping(false);
    draw_legend(painter, scale);
    painter.restore();
}

void SessionPlot::draw_axes(QPainter &painter, const Scale &scale) const
{
    const qreal mm = painter.device()->logicalDpiX() / 25.4;
    const QRectF &frame = scale.frame;
    const QPen grid(grid_colour, 0.15 * mm), axis(Qt::black, 0.2 * mm);

    const double step = nice_step((scale.high - scale.low) / 5.0);
    const int decimals = step < 1.0 ? int(std::ceil(-std::log10(step))) : 0;
    for (double v = std::ceil(scale.low / step) * step; v <= scale.high; v += step) {
        const double y = scale.y(v);
        painter.setPen(grid);
        painter.drawLine(QPointF(frame.left(), y), QPointF(frame.right(), y));
        painter.setPen(axis);
        painter.drawText(QRectF(frame.left() - 19 * mm, y - 3 * mm, 17.5 * mm, 6 * mm),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'f', decimals));
    }

    const qint64 span = scale.to_ms - scale.from_ms;
    const qint64 tick = time_step(span);
    const QString format = span > 86400000 ? QStringLiteral("MM-dd hh:mm")
        : tick % 60000 == 0                ? QStringLiteral("hh:mm")
                                           : QStringLiteral("hh:mm:ss");
    for (qint64 t = (scale.from_ms / tick + 1) * tick; t <= scale.to_ms; t += tick) {
        const double x = scale.x(t);
        painter.setPen(grid);
        painter.drawLine(QPointF(x, frame.top()), QPointF(x, frame.bottom()));
        painter.setPen(axis);
        painter.drawText(QRectF(x - 15 * mm, frame.bottom() + 0.5 * mm, 30 * mm, 5 * mm),
                         Qt::AlignHCenter | Qt::AlignTop,
                         QDateTime::fromMSecsSinceEpoch(t, Qt::UTC).toString(format));
    }
    painter.setPen(axis);
    painter.drawRect(frame);
    const QString day = QDateTime::fromMSecsSinceEpoch(scale.from_ms, Qt::UTC)
                            .toString(QStringLiteral("yyyy-MM-dd"));
    painter.drawText(QRectF(frame.left(), frame.bottom() + 5 * mm, frame.width(), 5 * mm),
                     Qt::AlignHCenter, tr("时间 (UTC)，%1 起").arg(day));
    painter.save();
    painter.translate(frame.left() - 14.5 * mm, frame.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-frame.height() / 2, -5 * mm, frame.height(), 5 * mm),
                     Qt::AlignHCenter | Qt::AlignBottom, tr(speed_with_unit));
    painter.restore();
}

void SessionPlot::draw_readings(QPainter &painter, const Scale &scale) const
{
    const qreal mm = painter.device()->logicalDpiX() / 25.4;
    const int columns = qMax(1, int(scale.frame.width() / (0.25 * mm)));
    const double column_width = scale.frame.width() / columns;
    painter.setPen(QPen(good_colour, 0.25 * mm, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    QVector<QPointF> line;
    int column = -1;
    double first = 0, low = 0, high = 0, last = 0;
    const auto end_column = [&] {
        if (column < 0)
            return;
        const double x = scale.frame.left() + (column + 0.5) * column_width;
        for (double speed : {first, low, high, last})
            line << QPointF(x, scale.y(speed));
        column = -1;
    };
    const auto end_line = [&] {
        end_column();
        if (!line.isEmpty())
            painter.drawPolyline(line.constData(), line.size());
        line.clear();
    };
    const qint64 span = scale.to_ms - scale.from_ms;
    qint64 previous = std::numeric_limits<qint64>::min();
    for (size_t i = 0; i < log.time.size(); ++i) {
        if (log.quality[i] != quint8(Quality::ok))
            continue;
        const qint64 time = log.time[i];
        if (previous != std::numeric_limits<qint64>::min() && time - previous > stale_ms)
            end_line();
        previous = time;
        const int at = int(qBound<qint64>(0, (time - scale.from_ms) * columns / span, columns - 1));
        const double speed = log.speed[i];
        if (at != column) {
            end_column();
            column = at;
            first = low = high = speed;
        }
        low = qMin(low, speed);
        high = qMax(high, speed);
        last = speed;
    }
    end_line();
}

// One dot for each place a flagged reading fell, however many fell there.
void SessionPlot::draw_flagged(QPainter &painter, const Scale &scale) const
{
    const qreal mm = painter.device()->logicalDpiX() / 25.4;
    const double radius = 0.45 * mm;
    painter.setPen(Qt::NoPen);
    painter.setBrush(flagged_colour);
    QSet<qint64> drawn;
    for (size_t i = 0; i < log.time.size(); ++i) {
        if (log.quality[i] == quint8(Quality::ok))
            continue;
        const double x = scale.x(log.time[i]);
        const double y = qBound(scale.frame.top(), scale.y(log.speed[i]), scale.frame.bottom());
        const qint64 place = qint64(x / radius) * 1000000 + qint64(y / radius);
        if (drawn.contains(place))
            continue;
        drawn.insert(place);
        painter.drawEllipse(QPointF(x, y), radius, radius);
    }
}

void SessionPlot::draw_legend(QPainter &painter, const Scale &scale) const
{
    const qreal mm = painter.device()->logicalDpiX() / 25.4;
    const QString good = tr("合格读数（间断处断开）");
    const QString flagged = tr("超限或尖峰读数（超出坐标的画在边上）");
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal y = scale.frame.top() - 3 * mm;
    qreal x = scale.frame.right() - metrics.horizontalAdvance(flagged) - 5 * mm;
    painter.setPen(Qt::NoPen);
    painter.setBrush(flagged_colour);
    painter.drawEllipse(QPointF(x, y), 0.45 * mm, 0.45 * mm);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x + 2 * mm, y + metrics.ascent() / 2.5), flagged);

    x -= metrics.horizontalAdvance(good) + 12 * mm;
    painter.setPen(QPen(good_colour, 0.25 * mm));
    painter.drawLine(QPointF(x, y), QPointF(x + 5 * mm, y));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x + 7 * mm, y + metrics.ascent() / 2.5), good);
}
