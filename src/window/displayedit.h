#ifndef DISPLAYEDIT_H
#define DISPLAYEDIT_H

#include <QGlyphRun>
#include <QLineEdit>
#include <QPixmap>
#include <QRawFont>

// A measurement display that draws itself cheaply. Its face (the group box
// behind the rounded corners, the frame and the black ground) is drawn once
// by the style and kept; a new value draws only its glyphs, placed as a line
// edit places them. Live values are red, stale ones grey: a flag, not a
// style sheet, so switching costs a repaint and nothing else.
class DisplayEdit : public QLineEdit
{
public:
    explicit DisplayEdit(QWidget *parent = nullptr);

    void set_stale(bool stale);
    bool stale() const { return is_stale; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void build_face();
    void build_run();

    QPixmap face;
    QRawFont raw_font;
    QGlyphRun run;
    QString run_text; // the text run was built for
    QPointF run_origin;
    bool is_stale = false;
};

#endif
