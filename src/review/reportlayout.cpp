#include "reportlayout.h"

#include <QPagedPaintDevice>

static const char font_family[] = "WenQuanYi Micro Hei";

ReportLayout::ReportLayout(QPagedPaintDevice *device)
    : device(device), dots_per_mm(device->logicalDpiX() / 25.4)
{
    body = QFont(QLatin1String(font_family));
    body.setPointSizeF(9.5);
    bold = body;
    bold.setBold(true);
    bold.setPointSizeF(11);
    large = body;
    large.setPointSizeF(18);
    large.setBold(true);
    painter.begin(device);
    painter.setFont(body);
}

qreal ReportLayout::text_height(const QString &text, qreal width)
{
    return painter.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
}

void ReportLayout::make_room(qreal height)
{
    if (y > 0 && y + height > device->height()) {
        device->newPage();
        y = 0;
    }
}

void ReportLayout::title(const QString &text)
{
    painter.setFont(large);
    const qreal height = text_height(text, device->width());
    make_room(height);
    painter.drawText(QRectF(0, y, device->width(), height), Qt::AlignHCenter, text);
    y += height + 3 * dots_per_mm;
    painter.setFont(body);
}

void ReportLayout::heading(const QString &text)
{
    painter.setFont(bold);
    const qreal height = text_height(text, device->width());
    // A heading never ends a page: keep room for a few lines under it.
    make_room(height + 20 * dots_per_mm);
    y += 2 * dots_per_mm;
    painter.drawText(QRectF(0, y, device->width(), height), Qt::AlignLeft, text);
    y += height + 1 * dots_per_mm;
    painter.setFont(body);
}

void ReportLayout::paragraph(const QString &text)
{
    const qreal height = text_height(text, device->width());
    make_room(height);
    painter.drawText(QRectF(0, y, device->width(), height), Qt::TextWordWrap, text);
    y += height;
}

void ReportLayout::table(const QStringList &header, const QVector<QStringList> &rows,
                         const QVector<qreal> &widths)
{
    const qreal row_height = painter.fontMetrics().height() * 1.25;
    make_room(row_height * qreal(rows.size() + 1));
    const qreal pad = 1.5 * dots_per_mm;
    const auto draw_row = [&](const QStringList &cells) {
        qreal x = 0;
        for (int i = 0; i < cells.size() && i < widths.size(); ++i) {
            const qreal width = widths[i] * device->width();
            const QRectF cell(x + pad, y, width - 2 * pad, row_height);
            painter.drawText(cell, Qt::AlignVCenter | (i == 0 ? Qt::AlignLeft : Qt::AlignRight),
                             cells[i]);
            x += width;
        }
        y += row_height;
    };
    qreal total = 0;
    for (qreal width : widths)
        total += width * device->width();
    painter.setPen(QPen(Qt::black, 0.2 * dots_per_mm));
    if (!header.join(QString()).isEmpty()) {
        painter.setFont(bold);
        draw_row(header);
        painter.setFont(body);
    }
    painter.drawLine(QPointF(0, y), QPointF(total, y));
    for (const QStringList &cells : rows)
        draw_row(cells);
    painter.drawLine(QPointF(0, y), QPointF(total, y));
    y += 1 * dots_per_mm;
}

QRectF ReportLayout::block(qreal height_mm)
{
    const qreal height = height_mm * dots_per_mm;
    make_room(height);
    const QRectF rect(0, y, device->width(), height);
    y += height;
    return rect;
}

void ReportLayout::new_page()
{
    if (y > 0) {
        device->newPage();
        y = 0;
    }
}
