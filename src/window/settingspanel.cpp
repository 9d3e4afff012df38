#include "settingspanel.h"
#include "alarmkind.h"
#include "alarmmonitor.h"
#include "frmain.h"
#include "mqttpublisher.h"
#include "settingsstore.h"
#include "stationbinding.h"
#include "tabstyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

enum ProfileAction { save_profile, load_profile, delete_profile, export_profile, import_profile };

SettingsPanel::SettingsPanel(frmain *main_window, SettingsStore *settings_store, QWidget *parent)
    : QWidget(parent), window(main_window), store(settings_store), message(new QLabel)
{
    setStyleSheet(compact_buttons());
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    rows->addWidget(build_profiles());
    rows->addWidget(build_alarms());
    rows->addWidget(build_mqtt());
    message->setObjectName("settings_message");
    rows->addWidget(message);
    rows->addStretch(1);
    link_timer.setInterval(1000);
    connect(&link_timer, &QTimer::timeout, this, &SettingsPanel::show_link);
    link_timer.start();
    show_current();
}

QWidget *SettingsPanel::build_profiles()
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel("配置方案"));
    profile = new QComboBox;
    profile->setObjectName("profile");
    profile->setEditable(true);
    profile->setMinimumWidth(160);
    profile->addItems(store->profiles());
    row->addWidget(profile, 1);
    const char *const captions[] = {"保存", "载入", "删除", "导出…", "导入…"};
    for (int action = save_profile; action <= import_profile; ++action) {
        auto *button = new QPushButton(captions[action]);
        button->setObjectName(QStringLiteral("profile_action_%1").arg(action));
        connect(button, &QPushButton::clicked, this, [this, action] { profile_action(action); });
        row->addWidget(button);
    }
    return box;
}

QWidget *SettingsPanel::build_alarms()
{
    auto *box = new QWidget;
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    grid->addWidget(new QLabel("报警"), 0, 0);
    for (int i = 0; i < alarm_count; ++i) {
        const QString name = QString::fromLatin1(alarm_name(Alarm(i)));
        auto *check = new QCheckBox(alarm_description(name));
        check->setObjectName("alarm_" + name);
        connect(check, &QCheckBox::clicked, this, &SettingsPanel::apply_alarms);
        alarm_boxes << check;
        grid->addWidget(check, i / 3, 1 + i % 3);
    }
    spike_limit = new QSpinBox;
    spike_limit->setRange(1, 1000);
    spike_limit->setSuffix(" 次/分");
    difference_limit = new QDoubleSpinBox;
    difference_limit->setRange(0.1, 100.0);
    difference_limit->setSuffix(" m/s");
    grid->addWidget(spike_limit, 0, 4);
    grid->addWidget(difference_limit, 1, 4);
    for (QAbstractSpinBox *limit : {static_cast<QAbstractSpinBox *>(spike_limit),
                                    static_cast<QAbstractSpinBox *>(difference_limit)})
        connect(limit, &QAbstractSpinBox::editingFinished, this, &SettingsPanel::apply_alarms);
    return box;
}

QWidget *SettingsPanel::build_mqtt()
{
    auto *box = new QWidget;
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    broker = new QLineEdit;
    broker->setPlaceholderText("主机[:端口]");
    station = new QLineEdit;
    user = new QLineEdit;
    password = new QLineEdit;
    password->setEchoMode(QLineEdit::Password);
    ca_file = new QLineEdit;
    ca_file->setPlaceholderText("CA 文件（TLS）");
    remember = new QCheckBox("记住密码");
    thin = new QCheckBox("每秒一条");
    link = new QLabel;
    link->setObjectName("mqtt_link");
    auto *apply = new QPushButton("连接");
    connect(apply, &QPushButton::clicked, this, &SettingsPanel::apply_mqtt);
    const QList<QPair<const char *, QWidget *>> fields
        = {{"MQTT 代理", broker}, {"站名", station}, {"用户", user}, {"密码", password}};
    for (int i = 0; i < fields.size(); ++i) {
        grid->addWidget(new QLabel(fields[i].first), 0, 2 * i);
        grid->addWidget(fields[i].second, 0, 2 * i + 1);
    }
    grid->addWidget(ca_file, 1, 1, 1, 3);
    grid->addWidget(remember, 1, 4, 1, 2);
    grid->addWidget(thin, 1, 6);
    grid->addWidget(apply, 1, 7);
    grid->addWidget(link, 2, 0, 1, 8);
    return box;
}

void SettingsPanel::show_current()
{
    const AlarmSettings &alarms = window->station()->alarms()->settings();
    for (int i = 0; i < alarm_boxes.size(); ++i)
        alarm_boxes[i]->setChecked(alarms.is_enabled(Alarm(i)));
    spike_limit->setValue(alarms.spike_limit);
    difference_limit->setValue(alarms.difference_limit);
    if (MqttPublisher *publisher = window->station()->publisher()) {
        const MqttConfig &config = publisher->config();
        broker->setText(config.address());
        station->setText(config.station);
        user->setText(config.user);
        ca_file->setText(config.ca_file);
        remember->setChecked(config.remember_password);
        thin->setChecked(config.thin_readings);
    }
    show_link();
}

void SettingsPanel::say(const QString &text, bool problem)
{
    message->setStyleSheet(problem ? "color: #d00000;" : QString());
    message->setText(text);
}

void SettingsPanel::profile_action(int action)
{
    const QString name = profile->currentText().trimmed();
    QString problem;
    if (action == import_profile) {
        const QString file = QFileDialog::getOpenFileName(this, "导入配置方案", QString(),
                                                          "配置方案 (*.ini);;所有文件 (*)");
        if (file.isEmpty())
            return;
        const QString imported = name.isEmpty() ? QFileInfo(file).completeBaseName() : name;
        if (store->import_profile(file, imported, &problem))
            say("已导入配置方案“" + imported + "”", false);
    } else if (name.isEmpty()) {
        problem = "请先填写配置方案名称";
    } else if (action == save_profile) {
        if (store->save_profile(name, collect_station_settings(*window)))
            say("已保存配置方案“" + name + "”", false);
        else
            problem = "无法保存配置方案“" + name + "”";
    } else if (action == load_profile) {
        const std::optional<StationSettings> loaded = store->load_profile(name, &problem);
        if (loaded) {
            QStringList problems;
            apply_station_settings(*window, *loaded, &problems);
            show_current();
            problem = problems.isEmpty() ? QString() : "部分设置未能应用：" + problems.join("、");
            if (problem.isEmpty())
                say("已载入配置方案“" + name + "”", false);
        }
    } else if (action == delete_profile) {
        if (store->remove_profile(name))
            say("已删除配置方案“" + name + "”", false);
    } else {
        const QString file
            = QFileDialog::getSaveFileName(this, "导出配置方案", name + ".ini", "配置方案 (*.ini)");
        if (!file.isEmpty() && store->export_profile(name, file, &problem))
            say("已导出到 " + file, false);
    }
    if (!problem.isEmpty())
        say(problem, true);
    const QString kept = profile->currentText();
    profile->clear();
    profile->addItems(store->profiles());
    profile->setCurrentText(kept);
}

void SettingsPanel::apply_alarms()
{
    AlarmSettings settings = window->station()->alarms()->settings();
    for (int i = 0; i < alarm_boxes.size(); ++i)
        settings.set_enabled(Alarm(i), alarm_boxes[i]->isChecked());
    settings.spike_limit = spike_limit->value();
    settings.difference_limit = difference_limit->value();
    window->station()->alarms()->set_settings(settings, window->station()->now_ms());
}

// An empty broker stops publishing; anything else must be complete first.
void SettingsPanel::apply_mqtt()
{
    MqttConfig config;
    if (!broker->text().trimmed().isEmpty() && !config.parse_address(broker->text().trimmed())) {
        say("MQTT 代理地址应为 主机[:端口]", true);
        return;
    }
    config.station = station->text().trimmed();
    config.user = user->text();
    config.password = password->text();
    config.ca_file = ca_file->text().trimmed();
    config.tls = !config.ca_file.isEmpty();
    config.remember_password = remember->isChecked();
    config.thin_readings = thin->isChecked();
    if (!config.host.isEmpty() && !config.problem().isEmpty()) {
        say(config.problem(), true);
        return;
    }
    window->station()->publish_to(config);
    say(config.host.isEmpty() ? "已停止 MQTT 发布" : "MQTT 发布：" + config.topic("#"), false);
    show_link();
}

QString mqtt_link_text(const MqttPublisher *publisher)
{
    if (!publisher)
        return QString();
    const MqttLinkStatus status = publisher->status();
    return QStringLiteral("MQTT %1（%2）：已发布 %3，等待 %4，丢弃 %5 %6")
        .arg(MqttLinkStatus::state_text(status.state), publisher->config().topic("#"))
        .arg(status.published)
        .arg(status.queued)
        .arg(status.dropped)
        .arg(status.last_error);
}

void SettingsPanel::show_link()
{
    if (isVisible() || !window->station()->publisher())
        link->setText(window->station()->publisher()
                          ? mqtt_link_text(window->station()->publisher())
                          : QStringLiteral("MQTT 未启用"));
}
