#include "datasection.h"

#include "frmain.h"
#include "languagesection.h"
#include "screenpainter.h"

#include <QCheckBox>
#include <QVBoxLayout>

DataSection::DataSection(frmain *window, QWidget *parent) : SettingsSection(parent), window(window)
{
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    good_only = option(tr("平均只计合格读数"),
                       tr("平均声速的每一块只计质量合格的读数（超限和跳变不计入），适用于测量船；"
                          "实验室测试超出测量限值的水样时请关闭"));
    arrival_times = option(tr("状态栏每行前显示到达时间（UTC）"),
                           tr("状态栏中仪器发来的每一行前加上它到达的 UTC 时间"));
    line_log = option(tr("保存数据时另存带时间的逐行记录（.lines.txt）"),
                      tr("仪器发来的每一行（测量值、回复和无法识别的内容）连同到达的 UTC "
                         "时间（毫秒）另存在记录文件旁；从下一次开始保存时起生效"));
    for (QCheckBox *box : {good_only, arrival_times, line_log})
        rows->addWidget(box);
    language = new LanguageSection;
    connect(language, &SettingsSection::said, this, &SettingsSection::said);
    rows->addWidget(language);
    rows->addStretch(1);
    connect(good_only, &QCheckBox::clicked, this, [this](bool on) {
        this->window->station()->acquisition().set_average_good_only(on);
        emit said(on ? tr("平均声速只计合格读数") : tr("平均声速计入每个有效读数"), false);
    });
    connect(arrival_times, &QCheckBox::clicked, this,
            [this](bool on) { this->window->painter()->set_arrival_times(on); });
    connect(line_log, &QCheckBox::clicked, this, [this](bool on) {
        this->window->station()->acquisition().set_line_log(on);
        emit said(on ? tr("下次开始保存数据时另存逐行记录") : tr("不再另存逐行记录"), false);
    });
}

QCheckBox *DataSection::option(const QString &text, const QString &tip)
{
    auto *box = new QCheckBox(text);
    box->setToolTip(tip);
    return box;
}

void DataSection::show_current()
{
    good_only->setChecked(window->station()->acquisition().average_good_only());
    arrival_times->setChecked(window->painter()->shows_arrival_times());
    line_log->setChecked(window->station()->acquisition().line_log());
    language->show_current();
}
