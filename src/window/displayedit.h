#ifndef DISPLAYEDIT_H
#define DISPLAYEDIT_H

#include <QLineEdit>
#include <QPixmap>

// A measurement display that repaints only itself. Its rounded corners show
// the group box behind it; that backdrop is copied once, so a new value does
// not paint the group boxes and their gradients again underneath.
class DisplayEdit : public QLineEdit
{
public:
    explicit DisplayEdit(QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    QPixmap backdrop;
};

#endif
