#ifndef FRMAIN_H
#define FRMAIN_H

#include "messagebox.h"
#include "portsession.h"
#include "readingsink.h"
#include "station.h"

#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;
class RecordingFlow;
class ScreenPainter;
class StatusTabs;

// The window shows what the acquisition pipeline decides; it is itself the
// pipeline's consumer for the screen.
class frmain : public QWidget, private ReadingSink
{
    Q_OBJECT

public:
    explicit frmain(QWidget *parent = nullptr);
    ~frmain();

    // What the window shows: the pipeline, its consumers and the port.
    Station *station() const { return core; }
    // Opens the chosen port as a click would, but while it cannot be opened
    // tries again every second instead of showing a box. False, with the
    // reason in the pane, when it did not open at once.
    bool open_at_start();

    // The status pane's tabs: the trend, the outputs, the settings.
    StatusTabs *status_area() const { return status_tabs; }
    // What brings the displays and the pane up to date.
    ScreenPainter *painter() const { return screen; }
    // Starts recording into a new file named by the time in folder, without
    // a dialog; empty, said in the pane, when it cannot (*problem says why).
    QString record_into(const QString &folder, QString *problem);
    // A line of the program's own in the status pane, with the local time.
    void tell(const QString &text) { pane_note(text); }
    // The averaging count, as the button sets it but without a box.
    void set_average_points(int points);
    // How long an opened port is left to the instrument before reading.
    int open_settle_ms = 1000;

    QSerialPort *my_com;
    QString read_buffer;
    QFile *data_file;
    QString data_file_name;
    bool configuring;
    bool read_paused;

    QGroupBox *top_groupbox;
    QGroupBox *machine_container;
    QGroupBox *status_groupbox;

    QGroupBox *com_groupbox;
    QLabel *port_label, *baud_label, *databits_label, *parity_label, *stopbits_label;
    QComboBox *port_combobox, *baud_combobox, *databits_combobox, *parity_combobox,
        *stopbits_combobox;
    QPushButton *open_button;

    QGroupBox *display_groupbox;
    QLabel *speed_unit_label;
    QLabel *speed_label;
    QLabel *avg_speed_unit_label;
    QLabel *avg_speed_label;
    QLineEdit *avg_speed_lineedit;
    QLabel *temp_label;
    QLabel *temp_unit_label;
    QLineEdit *speed_lineedit;
    QLineEdit *temp_lineedit;

    QGroupBox *machine_groupbox;
    QLabel *machine_baud_label, *outrate_label, *range_label, *format_label, *temp_output_label;
    QComboBox *machine_baud_combobox;
    QLineEdit *outrate_lineedit;
    QComboBox *format_combobox;
    QComboBox *temp_output_combobox;
    QLineEdit *output_lineedit;
    QLabel *avg_label;
    QLineEdit *avg_lineedit;
    QPushButton *avg_button;
    QPushButton *send_config_button;
    QPushButton *save_config_button;
    QPushButton *save_data_button;

    QTextEdit *status_textedit;

    QStringList field_list;
    QString speed_text;
    QString temp_text;
    double avg_sum;
    unsigned int avg_count;
    unsigned int avg_points;

public slots:
    void data_setting();
    void every_connect();
    void machine_setting();
    void status_setting();
    void openCom1_slot();
    void ReadMyCom_slot();
    void Sleep(int sec);
    void send(QString data);
    void setting_button_slot();
    void save_setting_slot();
    bool save_data_slot();
    void one_byte_send(QString str);
    bool outrange_warning_slot(QString);
    void avg_point_slot();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The screen's share of each line, as it arrives.
    int take(const Measurement &measurement) override;
    void reject(const Reading &line, qint64 utc_ms) override;
    void stale(bool stale, qint64 utc_ms) override;

    static QString idle_display();
    void build_display_area();
    void build_port_choices();
    void lay_out_machine_area();
    void show_port_state();
    void port_lost();
    void port_back();
    void close_loss_notice();
    PortSettings chosen_port_settings() const;
    void play(const QVector<CommandStep> &steps);
    void pane_note(const QString &text);

    Station *core;
    ScreenPainter *screen = nullptr;
    RecordingFlow *recording = nullptr;
    void build_station();
    void show_alarm(const QString &name, bool on);
    StatusTabs *status_tabs;
    QPointer<QMessageBox> loss_notice;
    bool quitting = false;
};

#endif
