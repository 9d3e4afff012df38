#include "modalanswerer.h"
#include "shownwidgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

ModalAnswerer::ModalAnswerer(QObject *parent) : QObject(parent)
{
    connect(&timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer.start(5);
}

bool ModalAnswerer::wait_for_messages(int count, int timeout_ms)
{
    QElapsedTimer clock;
    clock.start();
    while (messages.size() < count) {
        if (clock.elapsed() > timeout_ms)
            return false;
        QTest::qWait(5);
    }
    return true;
}

QStringList ModalAnswerer::take_messages()
{
    const QStringList taken = messages;
    messages.clear();
    button_texts.clear();
    return taken;
}

void ModalAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
        pending = nullptr;
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (modal != pending) {
        pending = modal;
        pending_since = now;
    }
    if (now - pending_since < hold_ms)
        return;
    // A file dialog whose Save was pressed is still closing, and may first
    // ask whether to replace the file.
    if (modal == answered && now - answered_at < 1000)
        return;
    pending = nullptr;
    answer(modal);
}

void ModalAnswerer::answer(QWidget *widget)
{
    shown << shown_texts(widget);
    if (QMessageBox *box = qobject_cast<QMessageBox *>(widget)) {
        messages.append(box->text());
        for (QAbstractButton *button : box->buttons())
            button_texts.append(button->text());
        if (QAbstractButton *yes = box->button(say_no ? QMessageBox::No : QMessageBox::Yes))
            yes->click();
        else
            box->done(0);
        return;
    }
    if (QFileDialog *dialog = qobject_cast<QFileDialog *>(widget)) {
        QLineEdit *name_edit = dialog->findChild<QLineEdit *>("fileNameEdit");
        file_dialogs.append(
            {dialog->directory().absolutePath(), name_edit ? name_edit->text() : QString()});
        const QString path = file_answers.isEmpty() ? QString() : file_answers.takeFirst();
        if (path.isEmpty() || !name_edit) {
            dialog->reject();
            return;
        }
        name_edit->setText(path);
        QDialogButtonBox *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox");
        QPushButton *save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
        // Queued: Save may open the replace question, and this timer must be
        // free to answer it.
        if (save)
            QMetaObject::invokeMethod(save, "click", Qt::QueuedConnection);
        else
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        answered = dialog;
        answered_at = QDateTime::currentMSecsSinceEpoch();
        return;
    }
    if (QDialog *dialog = qobject_cast<QDialog *>(widget))
        dialog->reject();
    else
        widget->close();
}
