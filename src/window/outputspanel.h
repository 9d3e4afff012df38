#ifndef OUTPUTSPANEL_H
#define OUTPUTSPANEL_H

#include <QTimer>
#include <QWidget>

#include <functional>

class OutputEditor;
class OutputHub;
class OutputList;
class QLabel;
class QPushButton;
class QualityCheck;

// The outputs tab: the list of outputs with their state and counts, a row to
// add, change and remove them, and a line for what went wrong and for the
// MQTT link beside them. Every change applies at once; an entry that cannot
// be used is refused with a message, and what was in force stays. Removing
// an output that is sending asks first. The quality limits the gates judge
// by are set in the settings tab; here they show in the gate's tooltip.
class OutputsPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int refresh_ms = 250;

    OutputsPanel(OutputHub *hub, QualityCheck *quality, QWidget *parent = nullptr);

    // Shows the limits the check holds, set elsewhere.
    void show_limits();

    // Shows the hub's outputs as they are now; only while the panel is seen.
    void refresh();

    // A line under the outputs for the MQTT link beside them, read on each
    // refresh; empty hides it.
    void set_link_status(std::function<QString()> text);

signals:
    // Outputs changed: time to save the settings.
    void changed();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *build_buttons();
    QWidget *build_notes();
    void add_output();
    void change_output();
    void remove_output();
    void switch_output(int row, bool on);
    void selection_changed();
    void show_message(const QString &text);
    void show_notes();

    OutputHub *hub;
    QualityCheck *quality;
    OutputList *table;
    OutputEditor *editor;
    QPushButton *add_button, *change_button, *remove_button;
    QWidget *notes; // the line under the list, hidden while it has nothing to say
    QLabel *message;
    QLabel *link_line;
    std::function<QString()> link_text;
    QTimer timer;
};

#endif
