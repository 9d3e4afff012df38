#ifndef OUTPUTSPANEL_H
#define OUTPUTSPANEL_H

#include <QTimer>
#include <QWidget>

#include <functional>

class OutputEditor;
class OutputHub;
class OutputList;
class QLabel;
class QLineEdit;
class QPushButton;
class QualityCheck;

// The outputs tab: the list of outputs with their state and counts, a row to
// add, change and remove them, and the quality limits the gates judge by.
// Every change applies at once; an entry that cannot be used is refused with
// a message beside the fields, and what was in force stays.
class OutputsPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int refresh_ms = 250;

    OutputsPanel(OutputHub *hub, QualityCheck *quality, QWidget *parent = nullptr);

    // Sets the check's limits and shows them.
    void set_limits(double low, double high, double spike);
    // Shows the limits the check holds, set elsewhere.
    void show_limits();
    double spike_threshold() const;

    // Shows the hub's outputs as they are now; only while the panel is seen.
    void refresh();

    // A line under the outputs for the MQTT link beside them, read on each
    // refresh; empty hides it.
    void set_link_status(std::function<QString()> text);

signals:
    // Outputs or limits changed: time to save the settings.
    void changed();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    std::function<QString()> link_text;
    QLabel *link_line;
    QWidget *build_buttons();
    QWidget *build_limits();
    void add_output();
    void change_output();
    void remove_output();
    void switch_output(int row, bool on);
    void selection_changed();
    void apply_limits();
    void show_message(const QString &text);

    OutputHub *hub;
    QualityCheck *quality;
    OutputList *table;
    OutputEditor *editor;
    QPushButton *add_button, *change_button, *remove_button;
    QLineEdit *low_edit, *high_edit, *spike_edit;
    QLabel *message;
    QTimer timer;
};

#endif
