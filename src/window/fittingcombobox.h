#ifndef FITTINGCOMBOBOX_H
#define FITTINGCOMBOBOX_H

#include <QComboBox>

// A choice that shows its items whole: the closed box is as wide as its
// longest item, and the open list as wide as the longest item needs as the
// style sheet draws it (its own font, margins and check mark), which the
// box's own width does not give.
class FittingComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit FittingComboBox(QWidget *parent = nullptr);

    void showPopup() override;
    // The width the open list needs for every item whole.
    int list_width() const;
};

#endif
