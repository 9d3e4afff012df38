#include "datasection.h"

#include "station.h"

#include <QCheckBox>
#include <QVBoxLayout>

DataSection::DataSection(Station *station, QWidget *parent)
    : SettingsSection(parent), station(station)
{
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    good_only = new QCheckBox("平均只计合格读数");
    good_only->setObjectName("average_good_only");
    good_only->setToolTip("平均声速的每一块只计质量合格的读数（超限和跳变不计入），"
                          "适用于测量船；实验室测试超出测量限值的水样时请关闭");
    connect(good_only, &QCheckBox::clicked, this, [this](bool on) {
        this->station->acquisition().set_average_good_only(on);
        emit said(on ? "平均声速只计合格读数" : "平均声速计入每个有效读数", false);
    });
    rows->addWidget(good_only);
    rows->addStretch(1);
}

void DataSection::show_current()
{
    good_only->setChecked(station->acquisition().average_good_only());
}
