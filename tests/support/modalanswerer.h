#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class QWidget;

// Answers every modal dialog the program opens, so no test can hang on one.
// Message boxes are recorded and closed (questions are answered "Yes",
// or "No" when asked);
// file dialogs take the next queued answer, or are cancelled when none is.
class ModalAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit ModalAnswerer(QObject *parent = nullptr);

    // Questions are answered "No" instead.
    bool say_no = false;
    // Texts of the message boxes closed so far, in order.
    QStringList messages;
    // Standard button texts of those boxes, e.g. to check their translation.
    QStringList button_texts;
    // Every text of every dialog answered: titles, captions, items.
    QStringList shown;

    struct FileDialogSeen
    {
        QString directory;
        QString file_name; // what its file-name field held on opening
    };
    QList<FileDialogSeen> file_dialogs;

    // The next file dialog gets this path typed in and saved; "" cancels it.
    void answer_file_dialog(const QString &path) { file_answers.append(path); }

    // How long a box stays open before it is answered, so that events (and
    // the program's own slots) can run inside its nested event loop.
    int hold_ms = 0;

    // Runs the event loop until count messages in all have been recorded.
    bool wait_for_messages(int count, int timeout_ms = 5000);
    QStringList take_messages();

private:
    void poll();
    void answer(QWidget *widget);

    QTimer timer;
    QStringList file_answers;
    QWidget *pending = nullptr;
    qint64 pending_since = 0;
    QPointer<QWidget> answered;
    qint64 answered_at = 0;
};

#endif
