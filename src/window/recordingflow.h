#ifndef RECORDINGFLOW_H
#define RECORDINGFLOW_H

#include <QObject>
#include <QString>

class frmain;

// Recording as the operator starts and stops it with 保存数据, or as an
// unattended start asks for it: the file dialog (reading goes on meanwhile),
// what is said about the files, the button's caption, and the session a
// live report names.
class RecordingFlow : public QObject
{
    Q_OBJECT

public:
    explicit RecordingFlow(frmain *window);

    // Stops a recording, or asks for a file and starts one; true when one
    // was started.
    bool toggle();
    // A new file in folder, without a dialog; empty, with *problem, when not.
    QString record_into(const QString &folder, QString *problem);
    // The caption and the live report follow what is recorded and sent.
    void show_state();

private:
    bool start_with_dialog();
    void started(const QString &log_error, bool unattended);
    void failed();

    frmain *window;
};

#endif
