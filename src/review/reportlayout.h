#ifndef REPORTLAYOUT_H
#define REPORTLAYOUT_H

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QStringList>
#include <QVector>

class QPagedPaintDevice;

// Text and tables set from the top of a page down, with a new page when the
// next block does not fit. Lengths are in millimetres.
class ReportLayout
{
public:
    explicit ReportLayout(QPagedPaintDevice *device);

    bool active() const { return painter.isActive(); }
    QPainter &canvas() { return painter; }
    // Device units a millimetre.
    qreal unit() const { return dots_per_mm; }

    void title(const QString &text);
    void heading(const QString &text);
    void paragraph(const QString &text);
    // A table; the first column is left-aligned, the others right-aligned.
    // An empty header is left out.
    // widths: each column's share of the page width.
    void table(const QStringList &header, const QVector<QStringList> &rows,
               const QVector<qreal> &widths);
    // A block of height_mm across the page, for drawing into.
    QRectF block(qreal height_mm);
    // What follows starts on a page of its own.
    void new_page();
    bool finish() { return painter.end(); }

private:
    void make_room(qreal height);
    qreal text_height(const QString &text, qreal width);

    QPagedPaintDevice *device;
    QPainter painter;
    qreal dots_per_mm;
    qreal y = 0;
    QFont body, bold, large;
};

#endif
