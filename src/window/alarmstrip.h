#ifndef ALARMSTRIP_H
#define ALARMSTRIP_H

#include <QWidget>

class QLabel;
class QPushButton;

// The words of the active alarms in red beside the status tabs, readable
// from across the room, with the button that silences them. Hidden while
// nothing is wrong.
class AlarmStrip : public QWidget
{
    Q_OBJECT

public:
    explicit AlarmStrip(QWidget *parent = nullptr);

    // The descriptions of the active alarms; none hides the strip.
    void show_alarms(const QStringList &descriptions, bool acknowledged);

signals:
    void acknowledge();

private:
    QLabel *words;
    QPushButton *silence;
};

#endif
