#include "displayedit.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionFrame>

// The frame alone; the text colour is the display's own.
static const char face_style[]
    = "border: 2px solid gray;border-radius: 5px;padding: 0 8px;background: black;";

DisplayEdit::DisplayEdit(QWidget *parent) : QLineEdit(parent)
{
    setStyleSheet(QString::fromLatin1(face_style));
    // The glyphs are drawn here from text(); without an echo the line edit
    // lays out no text of its own when a value is set.
    setEchoMode(QLineEdit::NoEcho);
    connect(this, &QLineEdit::textChanged, this, [this] { update(); });
}

void DisplayEdit::set_stale(bool stale)
{
    if (stale == is_stale)
        return;
    is_stale = stale;
    update();
}

bool DisplayEdit::event(QEvent *event)
{
    const bool handled = QLineEdit::event(event);
    switch (event->type()) {
    case QEvent::Polish:
    case QEvent::StyleChange:
        // Style sheets clear the flag when they polish the widget.
        setAttribute(Qt::WA_OpaquePaintEvent);
        face = QPixmap();
        break;
    case QEvent::FontChange:
        raw_font = QRawFont();
        run_text.clear();
        break;
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
        face = QPixmap();
        break;
    default:
        break;
    }
    return handled;
}

// The group box behind the corners is copied, so that a new value does not
// paint the group boxes and their gradients again underneath.
void DisplayEdit::build_face()
{
    const qreal ratio = devicePixelRatioF();
    face = QPixmap(size() * ratio);
    face.setDevicePixelRatio(ratio);
    face.fill(Qt::transparent);
    if (QWidget *behind = parentWidget())
        behind->render(&face, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    QPainter painter(&face);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    painter.end();
    // Opaque, so that each new value copies the face instead of blending it.
    face = QPixmap::fromImage(face.toImage().convertToFormat(QImage::Format_RGB32));
}

// Places the glyphs as QLineEdit::paintEvent does: control characters show
// as spaces, the line is centred in the contents less a 2 px margin, and
// its top half a pixel low when the spare height is odd.
void DisplayEdit::build_run()
{
    if (!raw_font.isValid())
        raw_font = QRawFont::fromFont(font());
    run_text = text();
    QString shown = run_text;
    for (QChar &c : shown)
        if (c.unicode() < 0x20)
            c = QLatin1Char(' ');
    const QVector<quint32> glyphs = raw_font.glyphIndexesForString(shown);
    const QVector<QPointF> advances = raw_font.advancesForGlyphIndexes(glyphs);
    QVector<QPointF> positions(glyphs.size());
    qreal width = 0;
    for (int i = 0; i < glyphs.size(); ++i) {
        positions[i] = QPointF(width, 0);
        width += advances.at(i).x();
    }
    run.setRawFont(raw_font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);

    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const int line_height = fontMetrics().height();
    const int top = r.y() + (r.height() - line_height + 1) / 2;
    const int line_x = r.x() + 2, line_width = r.width() - 4;
    const int used = qRound(width) + 1;
    const int scroll = used <= line_width ? (used - line_width) / 2 : 0;
    run_origin = QPointF(line_x - scroll, top + raw_font.ascent());
}

void DisplayEdit::paintEvent(QPaintEvent *)
{
    if (face.isNull())
        build_face();
    if (run_text != text() || run.isEmpty())
        build_run();
    QPainter painter(this);
    painter.drawPixmap(0, 0, face);
    static const QColor live(QStringLiteral("red")), old(QStringLiteral("gray"));
    painter.setPen(is_stale ? old : live);
    painter.drawGlyphRun(run_origin, run);
}

void DisplayEdit::resizeEvent(QResizeEvent *event)
{
    face = QPixmap();
    run_text.clear();
    QLineEdit::resizeEvent(event);
}

void DisplayEdit::moveEvent(QMoveEvent *event)
{
    face = QPixmap();
    QLineEdit::moveEvent(event);
}
