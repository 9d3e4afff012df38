#include "alarmssection.h"

#include "alarmmonitor.h"
#include "station.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

QDoubleSpinBox *new_offset_limit_box()
{
    auto *box = new QDoubleSpinBox;
    box->setRange(0.001, 3600.0);
    box->setDecimals(3);
    box->setSuffix(" s");
    box->setToolTip(AlarmsSection::tr("电脑时钟与 GNSS 时间相差超过此值时报警"));
    return box;
}

AlarmsSection::AlarmsSection(Station *station, QWidget *parent)
    : SettingsSection(parent), station(station)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    for (int i = 0; i < alarm_count; ++i) {
        const QString name = QString::fromLatin1(alarm_name(Alarm(i)));
        auto *check = new QCheckBox(alarm_description(name));
        check->setObjectName("alarm_" + name);
        connect(check, &QCheckBox::clicked, this, &AlarmsSection::apply);
        boxes << check;
        grid->addWidget(check, i / 3, i % 3);
    }
    spike_limit = new QSpinBox;
    spike_limit->setRange(1, 1000);
    spike_limit->setSuffix(tr(" 次/分"));
    difference_limit = new QDoubleSpinBox;
    difference_limit->setRange(0.1, 100.0);
    difference_limit->setSuffix(" m/s");
    clear_after = new QSpinBox;
    clear_after->setRange(0, 3600);
    clear_after->setSuffix(" s");
    offset_limit = new_offset_limit_box();
    const QList<QPair<const char *, QAbstractSpinBox *>> limits
        = {{QT_TR_NOOP("跳变上限"), spike_limit},
           {QT_TR_NOOP("声速差上限"), difference_limit},
           {QT_TR_NOOP("解除前等待"), clear_after},
           {offset_limit_caption, offset_limit}};
    const int row = (alarm_count + 2) / 3;
    for (int i = 0; i < limits.size(); ++i) {
        auto *pair = new QHBoxLayout;
        pair->addWidget(new QLabel(tr(limits[i].first)));
        pair->addWidget(limits[i].second, 1);
        grid->addLayout(pair, row + i / 3, i % 3);
        connect(limits[i].second, &QAbstractSpinBox::editingFinished, this, &AlarmsSection::apply);
    }
    grid->setRowStretch(row + (limits.size() + 2) / 3, 1);
}

void AlarmsSection::show_current()
{
    const AlarmSettings &settings = station->alarms()->settings();
    for (int i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(settings.is_enabled(Alarm(i)));
    spike_limit->setValue(settings.spike_limit);
    difference_limit->setValue(settings.difference_limit);
    clear_after->setValue(settings.clear_after_s);
    offset_limit->setValue(settings.clock_offset_limit_s);
}

void AlarmsSection::apply()
{
    AlarmSettings settings = station->alarms()->settings();
    for (int i = 0; i < boxes.size(); ++i)
        settings.set_enabled(Alarm(i), boxes[i]->isChecked());
    settings.spike_limit = spike_limit->value();
    settings.difference_limit = difference_limit->value();
    settings.clear_after_s = clear_after->value();
    settings.clock_offset_limit_s = offset_limit->value();
    station->alarms()->set_settings(settings, station->now_ms());
}
