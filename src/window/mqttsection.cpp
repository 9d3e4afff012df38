#include "mqttsection.h"

#include "mqttpublisher.h"
#include "station.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

MqttSection::MqttSection(Station *station, QWidget *parent)
    : SettingsSection(parent), station(station)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    broker = new QLineEdit;
    broker->setPlaceholderText(tr("主机[:端口]"));
    station_name = new QLineEdit;
    user = new QLineEdit;
    password = new QLineEdit;
    password->setEchoMode(QLineEdit::Password);
    ca_file = new QLineEdit;
    ca_file->setPlaceholderText(tr("CA 文件（TLS）"));
    remember = new QCheckBox(tr("记住密码"));
    thin = new QCheckBox(tr("每秒一条"));
    link = new QLabel;
    link->setObjectName("mqtt_link");
    link->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    link->setWordWrap(true);
    auto *apply_button = new QPushButton(tr("连接"));
    connect(apply_button, &QPushButton::clicked, this, &MqttSection::apply);
    const QList<QPair<const char *, QWidget *>> fields = {{QT_TR_NOOP("MQTT 代理"), broker},
                                                          {QT_TR_NOOP("站名"), station_name},
                                                          {QT_TR_NOOP("用户"), user},
                                                          {QT_TR_NOOP("密码"), password}};
    for (int i = 0; i < fields.size(); ++i) {
        grid->addWidget(new QLabel(tr(fields[i].first)), i / 2, 2 * (i % 2));
        grid->addWidget(fields[i].second, i / 2, 2 * (i % 2) + 1);
    }
    grid->addWidget(ca_file, 2, 1);
    grid->addWidget(remember, 2, 2);
    grid->addWidget(thin, 2, 3);
    grid->addWidget(apply_button, 3, 3);
    grid->addWidget(link, 3, 0, 1, 3);
    grid->setRowStretch(4, 1);
    link_timer.setInterval(1000);
    connect(&link_timer, &QTimer::timeout, this, &MqttSection::show_link);
}

void MqttSection::show_current()
{
    if (MqttPublisher *publisher = station->publisher()) {
        const MqttConfig &config = publisher->config();
        broker->setText(config.address());
        station_name->setText(config.station);
        user->setText(config.user);
        ca_file->setText(config.ca_file);
        remember->setChecked(config.remember_password);
        thin->setChecked(config.thin_readings);
    }
    show_link();
}

// The link's counts change all the time; read only while someone sees them.
void MqttSection::showEvent(QShowEvent *event)
{
    show_link();
    link_timer.start();
    SettingsSection::showEvent(event);
}

void MqttSection::hideEvent(QHideEvent *event)
{
    link_timer.stop();
    SettingsSection::hideEvent(event);
}

// An empty broker stops publishing; anything else must be complete first.
void MqttSection::apply()
{
    MqttConfig config;
    if (!broker->text().trimmed().isEmpty() && !config.parse_address(broker->text().trimmed())) {
        emit said(tr("MQTT 代理地址应为 主机[:端口]"), true);
        return;
    }
    config.station = station_name->text().trimmed();
    config.user = user->text();
    config.password = password->text();
    config.ca_file = ca_file->text().trimmed();
    config.tls = !config.ca_file.isEmpty();
    config.remember_password = remember->isChecked();
    config.thin_readings = thin->isChecked();
    if (!config.host.isEmpty() && !config.problem().isEmpty()) {
        emit said(config.problem(), true);
        return;
    }
    station->publish_to(config);
    emit said(config.host.isEmpty() ? tr("已停止 MQTT 发布")
                                    : tr("MQTT 发布：%1").arg(config.topic("#")),
              false);
    show_link();
}

QString mqtt_link_text(const MqttPublisher *publisher)
{
    if (!publisher)
        return QString();
    const MqttLinkStatus status = publisher->status();
    return MqttSection::tr("MQTT %1（%2）：已发布 %3，等待 %4，丢弃 %5 %6")
        .arg(MqttLinkStatus::state_text(status.state), publisher->config().topic("#"))
        .arg(status.published)
        .arg(status.queued)
        .arg(status.dropped)
        .arg(status.last_error);
}

void MqttSection::show_link()
{
    link->setText(station->publisher() ? mqtt_link_text(station->publisher()) : tr("MQTT 未启用"));
}
