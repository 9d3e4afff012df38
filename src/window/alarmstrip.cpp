#include "alarmstrip.h"
#include "tabstyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

AlarmStrip::AlarmStrip(QWidget *parent)
    : QWidget(parent), words(new QLabel), silence(new QPushButton(tr("确认报警")))
{
    words->setObjectName("alarm_words");
    words->setStyleSheet("QLabel { background: #d00000; color: white; font-weight: bold;"
                         " padding: 1px 6px; }");
    silence->setObjectName("acknowledge_alarms");
    // Beside the tabs there is no room for the window's wide buttons.
    silence->setStyleSheet(compact_buttons());
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(words);
    row->addWidget(silence);
    connect(silence, &QPushButton::clicked, this, &AlarmStrip::acknowledge);
    setVisible(false);
}

void AlarmStrip::show_alarms(const QStringList &descriptions, bool acknowledged)
{
    words->setText(tr("报警：%1").arg(descriptions.join(tr("，", "between alarm names"))));
    silence->setEnabled(!acknowledged);
    setVisible(!descriptions.isEmpty());
}
