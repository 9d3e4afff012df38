#ifndef SETTINGSPANEL_H
#define SETTINGSPANEL_H

#include <QTimer>
#include <QWidget>

class frmain;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class SettingsStore;
class MqttPublisher;

// The MQTT link in one line: state, counts and the last error; empty without
// a publisher.
QString mqtt_link_text(const MqttPublisher *publisher);

// The 设置 tab: named profiles of the station's settings (save, load,
// delete, export, import), which alarms watch and their limits, and the
// MQTT broker the station publishes to, with the link's state.
class SettingsPanel : public QWidget
{
    Q_OBJECT

public:
    SettingsPanel(frmain *window, SettingsStore *store, QWidget *parent = nullptr);

    // The fields follow what the window runs with, e.g. after a profile.
    void show_current();

private:
    QWidget *build_profiles();
    QWidget *build_alarms();
    QWidget *build_mqtt();
    void profile_action(int action);
    void apply_alarms();
    void apply_mqtt();
    void show_link();
    void say(const QString &text, bool problem);

    frmain *window;
    SettingsStore *store;
    QComboBox *profile;
    QList<QCheckBox *> alarm_boxes;
    QSpinBox *spike_limit;
    QDoubleSpinBox *difference_limit;
    QLineEdit *broker, *station, *user, *password, *ca_file;
    QCheckBox *remember, *thin;
    QLabel *link, *message;
    QTimer link_timer;
};

#endif
