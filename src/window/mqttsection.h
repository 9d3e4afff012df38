#ifndef MQTTSECTION_H
#define MQTTSECTION_H

#include "settingssection.h"

#include <QTimer>

class MqttPublisher;
class QCheckBox;
class QLabel;
class QLineEdit;
class Station;

// The MQTT link in one line: state, counts and the last error; empty without
// a publisher.
QString mqtt_link_text(const MqttPublisher *publisher);

// The broker the station publishes to, and the link's state while shown.
class MqttSection : public SettingsSection
{
    Q_OBJECT

public:
    explicit MqttSection(Station *station, QWidget *parent = nullptr);

    void show_current() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void apply();
    void show_link();

    Station *station;
    QLineEdit *broker, *station_name, *user, *password, *ca_file;
    QCheckBox *remember, *thin;
    QLabel *link;
    QTimer link_timer;
};

#endif
