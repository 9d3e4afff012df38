#include "settingspanel.h"

#include "alarmssection.h"
#include "datasection.h"
#include "frmain.h"
#include "inputsection.h"
#include "mqttsection.h"
#include "navsection.h"
#include "profilessection.h"
#include "qualitysection.h"
#include "settingssection.h"
#include "tabstyle.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>

SettingsPanel::SettingsPanel(frmain *window, SettingsStore *store, const StationSettings &baseline,
                             QWidget *parent)
    : QWidget(parent), titles(new QListWidget), pages(new QStackedWidget), message(new QLabel)
{
    setStyleSheet(compact_buttons());
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(4);
    titles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->addWidget(titles, 0, 0, 2, 1);
    grid->addWidget(pages, 0, 1);
    message->setObjectName("settings_message");
    message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(message, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    connect(titles, &QListWidget::currentRowChanged, pages, &QStackedWidget::setCurrentIndex);

    auto *profiles = new ProfilesSection(window, store, baseline);
    connect(profiles, &ProfilesSection::loaded, this, &SettingsPanel::show_current);
    add_section(tr("配置方案"), profiles);
    add_section(tr("报警"), new AlarmsSection(window->station()));
    add_section(tr("数据"), new DataSection(window));
    add_section(tr("输入格式"), new InputSection(window->station()));
    add_section("MQTT", new MqttSection(window->station()));
    add_section(tr("质量"), new QualitySection(&window->station()->acquisition().quality()));
    add_section("GNSS", new NavSection(window->station()));
    // As wide as the longest title in the language shown, and every title in
    // sight without scrolling.
    titles->setFixedWidth(titles->sizeHintForColumn(0) + 2 * titles->frameWidth() + 8);
    titles->setCurrentRow(0);
    show_current();
}

void SettingsPanel::add_section(const QString &title, SettingsSection *section)
{
    titles->addItem(title);
    titles->item(titles->count() - 1)
        ->setSizeHint(QSize(titles->fontMetrics().horizontalAdvance(title) + 8,
                            titles->fontMetrics().height() + 1));
    pages->addWidget(section);
    sections << section;
    connect(section, &SettingsSection::said, this, &SettingsPanel::say);
    section->show_current();
}

void SettingsPanel::show_current()
{
    for (SettingsSection *section : qAsConst(sections))
        section->show_current();
}

void SettingsPanel::say(const QString &text, bool problem)
{
    message->setStyleSheet(problem ? "color: #d00000;" : QString());
    message->setText(text);
}
