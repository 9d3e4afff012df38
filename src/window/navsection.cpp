#include "navsection.h"

#include "alarmmonitor.h"
#include "alarmssection.h"
#include "navigation.h"
#include "station.h"
#include "trackexport.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <qcustomplot.h>

NavSection::NavSection(Station *station, QWidget *parent)
    : SettingsSection(parent), station(station)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    source = new QLineEdit;
    source->setObjectName("nav_source");
    source->setPlaceholderText(tr("serial:路径[:波特率] 或 udp:端口"));
    auto *apply_button = new QPushButton(tr("应用"));
    auto *stop_button = new QPushButton(tr("停止"));
    fresh = new QDoubleSpinBox;
    fresh->setRange(0.1, 60.0);
    fresh->setDecimals(1);
    fresh->setSuffix(" s");
    fresh->setToolTip(tr("定位到达后多久内的读数记上该位置"));
    offset_limit = new_offset_limit_box();
    state = new QLabel;
    counts = new QLabel;
    fix = new QLabel;
    offset = new QLabel;
    state->setObjectName("nav_state");
    offset->setObjectName("nav_offset");
    grid->addWidget(new QLabel(tr("GNSS 输入")), 0, 0);
    grid->addWidget(source, 0, 1, 1, 4);
    grid->addWidget(apply_button, 0, 5);
    grid->addWidget(stop_button, 0, 6);
    grid->addWidget(new QLabel(tr("定位有效期")), 1, 0);
    grid->addWidget(fresh, 1, 1);
    grid->addWidget(new QLabel(AlarmsSection::tr(offset_limit_caption)), 1, 2);
    grid->addWidget(offset_limit, 1, 3);
    const QList<QLabel *> lines{state, counts, fix, offset};
    for (int i = 0; i < lines.size(); ++i) {
        lines[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(lines[i], 2 + i, 0, 1, 4);
    }
    grid->addWidget(build_plot(), 1, 4, 6, 3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(4, 1);
    connect(apply_button, &QPushButton::clicked, this, &NavSection::apply_source);
    connect(source, &QLineEdit::returnPressed, this, &NavSection::apply_source);
    connect(stop_button, &QPushButton::clicked, this, &NavSection::stop_source);
    for (QDoubleSpinBox *box : {fresh, offset_limit})
        connect(box, &QAbstractSpinBox::editingFinished, this, &NavSection::apply_limits);
    state_timer.setInterval(1000);
    connect(&state_timer, &QTimer::timeout, this, &NavSection::show_state);
}

// The offset over the last hour, in milliseconds against UTC.
QWidget *NavSection::build_plot()
{
    plot = new QCustomPlot;
    plot->setObjectName("nav_offset_plot");
    plot->setMinimumWidth(200);
    QFont small = font();
    small.setPointSize(7);
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat("hh:mm");
    ticker->setDateTimeSpec(Qt::UTC);
    plot->xAxis->setTicker(ticker);
    plot->yAxis->setLabel(tr("时钟偏差 (ms)"));
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis}) {
        axis->setTickLabelFont(small);
        axis->setLabelFont(small);
    }
    plot->addGraph()->setLineStyle(QCPGraph::lsNone);
    plot->graph(0)->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 2));
    return plot;
}

void NavSection::show_current()
{
    const Navigation *nav = station->navigation();
    if (nav->source())
        source->setText(nav->source()->text());
    fresh->setValue(double(nav->fresh_ms()) / 1000.0);
    offset_limit->setValue(station->alarms()->settings().clock_offset_limit_s);
    show_state();
}

void NavSection::apply_source()
{
    QString error;
    const std::optional<NavSource> chosen = NavSource::parse(source->text().trimmed(), &error);
    if (!chosen) {
        emit said(error, true);
        return;
    }
    station->navigation()->start(*chosen);
    emit said(tr("GNSS 输入：%1").arg(chosen->text()), false);
    show_state();
}

void NavSection::stop_source()
{
    station->navigation()->stop();
    emit said(tr("已停止 GNSS 输入"), false);
    show_state();
}

void NavSection::apply_limits()
{
    station->navigation()->set_fresh_ms(qRound64(fresh->value() * 1000.0));
    AlarmSettings settings = station->alarms()->settings();
    settings.clock_offset_limit_s = offset_limit->value();
    station->alarms()->set_settings(settings, station->now_ms());
    station->navigation()->check_offset(station->now_ms());
}

// The sentences used, and of the others only the kinds that came.
static QString counts_text(const NmeaCounts &c)
{
    QStringList others;
    const QList<QPair<const char *, qint64>> kinds
        = {{QT_TRANSLATE_NOOP("NavSection", "校验错 %1"), c.checksum},
           {QT_TRANSLATE_NOOP("NavSection", "无定位 %1"), c.void_fix},
           {QT_TRANSLATE_NOOP("NavSection", "字段错 %1"), c.bad_fields},
           {QT_TRANSLATE_NOOP("NavSection", "其他语句 %1"), c.other},
           {QT_TRANSLATE_NOOP("NavSection", "过长 %1"), c.overlong},
           {QT_TRANSLATE_NOOP("NavSection", "残句 %1"), c.fragments}};
    for (const auto &kind : kinds)
        if (kind.second > 0)
            others << NavSection::tr(kind.first).arg(kind.second);
    const QString used = QString::number(c.used);
    if (others.isEmpty())
        return NavSection::tr("采用语句 %1").arg(used);
    return NavSection::tr("采用语句 %1；%2")
        .arg(used, others.join(NavSection::tr("，", "between sentence counts")));
}

void NavSection::show_state()
{
    const NavInput *input = station->navigation()->input();
    const qint64 now = station->now_ms();
    const bool running = input && input->state() != NavInput::stopped;
    state->setText(!input                                      ? tr("未设置 GNSS 输入")
                       : !running                              ? tr("GNSS 输入已停止")
                       : input->state() == NavInput::connected ? tr("已连接")
                                                               : input->reason());
    state->setToolTip(state->text());
    counts->setText(input ? counts_text(input->counts()) : QString());
    const auto &newest = input ? input->nav_state().newest_fix() : std::nullopt;
    fix->setText(
        newest ? tr("定位 %1, %2（质量 %3，%4 s 前）")
                     .arg(newest->latitude.text, newest->longitude.text)
                     .arg(newest->quality)
                     .arg(double(now - input->nav_state().fix_arrival_ms()) / 1000.0, 0, 'f', 1)
               : tr("定位：无"));
    const auto in_force = input ? input->clock_offset().in_force_ms(now) : std::nullopt;
    offset->setText(in_force ? tr("时钟偏差（电脑 − GNSS）%1 ms")
                                   .arg(*in_force > 0 ? "+" + QString::number(*in_force)
                                                      : QString::number(*in_force))
                             : tr("时钟偏差：无测量"));
    show_offset_trend();
}

void NavSection::show_offset_trend()
{
    const NavInput *input = station->navigation()->input();
    QVector<double> times, offsets;
    if (input) {
        for (const ClockOffset::Sample &sample : input->clock_offset().history()) {
            times << double(sample.arrival_ms) / 1000.0;
            offsets << double(sample.offset_ms);
        }
    }
    plot->graph(0)->setData(times, offsets, true);
    plot->rescaleAxes();
    if (!times.isEmpty() && plot->yAxis->range().size() < 10)
        plot->yAxis->setRange(plot->yAxis->range().center(), 10, Qt::AlignCenter);
    plot->replot(QCustomPlot::rpQueuedReplot);
}

// The counts and the offset change all the time; read only while seen.
void NavSection::showEvent(QShowEvent *event)
{
    show_state();
    state_timer.start();
    SettingsSection::showEvent(event);
}

void NavSection::hideEvent(QHideEvent *event)
{
    state_timer.stop();
    SettingsSection::hideEvent(event);
}
