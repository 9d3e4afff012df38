#include "messagebox.h"

#include <QMessageBox>

void show_message(const QString &text)
{
    QMessageBox box;
    box.setText(text);
    box.exec();
}

bool ask_yes_no(const QString &text)
{
    QMessageBox box;
    box.setText(text);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
