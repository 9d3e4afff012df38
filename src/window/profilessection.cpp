#include "profilessection.h"

#include "frmain.h"
#include "settingsstore.h"
#include "stationbinding.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

enum ProfileAction { save_profile, load_profile, delete_profile, export_profile, import_profile };

ProfilesSection::ProfilesSection(frmain *window, SettingsStore *store,
                                 const StationSettings &baseline, QWidget *parent)
    : SettingsSection(parent), window(window), store(store), baseline(baseline)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(tr("配置方案")), 0, 0);
    profile = new QComboBox;
    profile->setObjectName("profile");
    profile->setEditable(true);
    profile->setMinimumWidth(200);
    grid->addWidget(profile, 0, 1, 1, 4);
    const char *const captions[] = {QT_TR_NOOP("保存"), QT_TR_NOOP("载入"), QT_TR_NOOP("删除"),
                                    QT_TR_NOOP("导出…"), QT_TR_NOOP("导入…")};
    for (int action = save_profile; action <= import_profile; ++action) {
        auto *button = new QPushButton(tr(captions[action]));
        button->setObjectName(QStringLiteral("profile_action_%1").arg(action));
        connect(button, &QPushButton::clicked, this, [this, action] { act(action); });
        grid->addWidget(button, 1, action);
    }
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(5, 1);
}

void ProfilesSection::show_current()
{
    const QString kept = profile->currentText();
    profile->clear();
    profile->addItems(store->profiles());
    profile->setCurrentText(kept);
}

void ProfilesSection::act(int action)
{
    const QString name = profile->currentText().trimmed();
    if (action != import_profile && name.isEmpty())
        emit said(tr("请先填写配置方案名称"), true);
    else if (action == save_profile)
        save(name);
    else if (action == load_profile)
        load(name);
    else
        exchange(action, name);
    show_current();
}

void ProfilesSection::save(const QString &name)
{
    if (store->profiles().contains(name)
        && !ask_yes_no(tr("\n配置方案“%1”已存在，要用当前设置覆盖它吗？\n").arg(name)))
        return;
    const StationSettings now = collect_station_settings(*window);
    if (!store->save_profile(name, now)) {
        emit said(tr("无法保存配置方案“%1”").arg(name), true);
        return;
    }
    baseline = now;
    emit said(tr("已保存配置方案“%1”").arg(name), false);
}

void ProfilesSection::load(const QString &name)
{
    QString problem;
    const std::optional<StationSettings> stored = store->load_profile(name, &problem);
    if (!stored) {
        emit said(problem, true);
        return;
    }
    if (changed_since_baseline()
        && !ask_yes_no(
            tr("\n当前设置在上次保存或载入后已更改，载入配置方案“%1”将替换这些更改。继续吗？\n")
                .arg(name)))
        return;
    QStringList problems;
    apply_station_settings(*window, *stored, &problems);
    baseline = collect_station_settings(*window);
    emit loaded();
    if (problems.isEmpty())
        emit said(tr("已载入配置方案“%1”").arg(name), false);
    else
        emit said(tr("部分设置未能应用：%1").arg(problems.join(tr("、", "between setting names"))),
                  true);
}

void ProfilesSection::exchange(int action, const QString &name)
{
    QString problem;
    if (action == delete_profile) {
        if (store->remove_profile(name))
            emit said(tr("已删除配置方案“%1”").arg(name), false);
    } else if (action == export_profile) {
        const QString file = QFileDialog::getSaveFileName(this, tr("导出配置方案"), name + ".ini",
                                                          tr("配置方案 (*.ini)"));
        if (!file.isEmpty() && store->export_profile(name, file, &problem))
            emit said(tr("已导出到 %1").arg(file), false);
    } else {
        const QString file = QFileDialog::getOpenFileName(this, tr("导入配置方案"), QString(),
                                                          tr("配置方案 (*.ini);;所有文件 (*)"));
        const QString imported = name.isEmpty() ? QFileInfo(file).completeBaseName() : name;
        if (!file.isEmpty() && store->import_profile(file, imported, &problem))
            emit said(tr("已导入配置方案“%1”").arg(imported), false);
    }
    if (!problem.isEmpty())
        emit said(problem, true);
}

// Where the trend window stands and the last folder are not settings the
// operator would miss.
bool ProfilesSection::changed_since_baseline() const
{
    QVariantMap now = collect_station_settings(*window).to_map();
    QVariantMap then = baseline.to_map();
    for (QVariantMap *map : {&now, &then}) {
        map->remove(QStringLiteral("trend/window_geometry"));
        map->remove(QStringLiteral("recording/folder"));
    }
    return now != then;
}
