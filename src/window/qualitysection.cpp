#include "qualitysection.h"

#include "qualitycheck.h"
#include "qualitylimits.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString limits_text(const QualityCheck &quality)
{
    return QualitySection::tr("%1–%2 m/s，跳变 %3 m/s")
        .arg(QString::number(quality.range_low()), QString::number(quality.range_high()),
             QString::number(quality.spike()));
}

static QLineEdit *limit_edit(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000.000")) + 12);
    return edit;
}

QualitySection::QualitySection(QualityCheck *quality_check, QWidget *parent)
    : SettingsSection(parent), quality(quality_check), low_edit(limit_edit("range_low")),
      high_edit(limit_edit("range_high")), spike_edit(limit_edit("spike_threshold"))
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    const QString unit = QStringLiteral("m/s");
    grid->addWidget(new QLabel(tr("合格范围")), 0, 0);
    grid->addWidget(low_edit, 0, 1);
    grid->addWidget(new QLabel(tr("至")), 0, 2);
    grid->addWidget(high_edit, 0, 3);
    grid->addWidget(new QLabel(unit), 0, 4);
    grid->addWidget(new QLabel(tr("跳变阈值")), 1, 0);
    grid->addWidget(spike_edit, 1, 1);
    grid->addWidget(new QLabel(unit), 1, 2);
    auto *apply_button = new QPushButton(tr("应用"));
    apply_button->setObjectName("apply_limits");
    apply_button->setAutoDefault(false);
    grid->addWidget(apply_button, 1, 3);
    auto *about = new QLabel(tr("超出范围，或与前 11 个读数的中值相差超过阈值的读数标为异常："
                                "趋势图上为红点，“仅合格读数”的输出不发送它。"));
    about->setWordWrap(true);
    grid->addWidget(about, 2, 0, 1, 6);
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(3, 1);
    for (QLineEdit *edit : {low_edit, high_edit, spike_edit})
        connect(edit, &QLineEdit::editingFinished, this, &QualitySection::apply);
    connect(apply_button, &QPushButton::clicked, this, &QualitySection::apply);
}

void QualitySection::show_current()
{
    low_edit->setText(QString::number(quality->range_low()));
    high_edit->setText(QString::number(quality->range_high()));
    spike_edit->setText(QString::number(quality->spike()));
}

void QualitySection::apply()
{
    double low = 0.0, high = 0.0, spike = 0.0;
    const QString error = check_quality_limits(low_edit->text(), high_edit->text(),
                                               spike_edit->text(), &low, &high, &spike);
    if (!error.isEmpty()) {
        emit said(error, true);
        return;
    }
    quality->set_range(low, high);
    quality->set_spike_threshold(spike);
    show_current();
    emit said(tr("已应用：%1").arg(limits_text(*quality)), false);
}
