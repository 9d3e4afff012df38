#include "crosscheckpanel.h"
#include "watersettings.h"

#include "reviewfigures.h"
#include "trendfigures.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

#include <cmath>

static const char outside_mark[] = "color: #c00000;";

static QDoubleSpinBox *setting_box(double maximum, int decimals, const char *suffix)
{
    auto *box = new QDoubleSpinBox;
    box->setRange(0.0, maximum);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    box->setKeyboardTracking(false);
    return box;
}

static QLabel *figure_label(const QString &name)
{
    auto *label = new QLabel(figure_text(NAN));
    label->setObjectName(name);
    label->setProperty("figure", true);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

CrossCheckPanel::CrossCheckPanel(WaterSettings *water_settings, QWidget *parent)
    : QWidget(parent), water(water_settings), salinity(setting_box(50.0, 2, "")),
      depth(setting_box(12000.0, 1, " m")), measured_note(new QLabel(tr("使用仪器测得的深度")))
{
    salinity->setObjectName("salinity");
    depth->setObjectName("depth");
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);
    grid->addWidget(new QLabel(tr("盐度")), 0, 0);
    grid->addWidget(salinity, 0, 1);
    grid->addWidget(new QLabel(tr("深度")), 0, 2, Qt::AlignRight);
    grid->addWidget(depth, 0, 3);
    measured_note->setObjectName("measured_depth");
    grid->addWidget(measured_note, 0, 4);
    const QString captions[] = {tr("方程"), tr("计算声速"), tr("实测−计算"), tr("反算盐度")};
    for (int column = 0; column < 4; ++column)
        grid->addWidget(new QLabel(captions[column]), 1, column,
                        column > 0 ? Qt::AlignRight : Qt::Alignment());

    for (SoundEquation equation :
         {SoundEquation::unesco, SoundEquation::del_grosso, SoundEquation::mackenzie}) {
        const QString name = equation_name(equation);
        Row row{equation, new QLabel(name), figure_label("computed " + name),
                figure_label("difference " + name), figure_label("implied " + name)};
        row.name->setObjectName(name);
        row.name->setToolTip(tr("超出该方程的适用范围时以红色显示"));
        const int line = grid->rowCount();
        grid->addWidget(row.name, line, 0);
        grid->addWidget(row.computed, line, 1);
        grid->addWidget(row.difference, line, 2);
        grid->addWidget(row.implied, line, 3);
        rows.append(row);
    }

    take_settings();
    connect(water, &WaterSettings::changed, this, [this] {
        take_settings();
        show_reading(last_speed, last_temperature);
    });
    connect(salinity, QOverload<double>::of(&QDoubleSpinBox::valueChanged), water,
            &WaterSettings::set_salinity);
    connect(depth, QOverload<double>::of(&QDoubleSpinBox::valueChanged), water,
            &WaterSettings::set_depth);
}

// Every view's entries show the same water, whichever view changed them.
void CrossCheckPanel::take_settings()
{
    const QSignalBlocker block_salinity(salinity), block_depth(depth);
    salinity->setValue(water->salinity());
    depth->setValue(water->depth());
    // The probe's own depth, or its pressure as depth, replaces the entry.
    const bool measured = std::isfinite(water->measured_depth());
    depth->setEnabled(!measured);
    measured_note->setVisible(measured);
}

void CrossCheckPanel::show_reading(double speed, double temperature)
{
    last_speed = speed;
    last_temperature = temperature;
    const double d = water->depth_in_use();
    for (const Row &row : rows)
        show_row(row, speed, temperature,
                 sound_speed(row.equation, water->salinity(), temperature, d),
                 implied_salinity(row.equation, speed, temperature, d));
}

// The means of the good readings that had a temperature.
void CrossCheckPanel::show_figures(const SpanFigures &figures)
{
    const qint64 paired = figures.temperature.count;
    const double speed = paired > 0 ? figures.paired_speed_sum / double(paired) : NAN;
    const double temperature = paired > 0 ? figures.temperature.mean : NAN;
    for (int i = 0; i < rows.size(); ++i) {
        const CrossCheckFigure &figure = figures.cross_check[size_t(i)];
        show_row(rows[i], speed, temperature, speed - figure.mean_difference,
                 figure.implied_salinity);
    }
}

static void mark(QLabel *label, bool outside)
{
    if (label->property("outside").toBool() == outside)
        return;
    label->setProperty("outside", outside);
    label->setStyleSheet(outside ? outside_mark : "");
}

void CrossCheckPanel::show_row(const Row &row, double speed, double temperature, double computed,
                               double implied)
{
    const double d = water->depth_in_use();
    row.computed->setText(figure_text(computed));
    row.difference->setText(figure_text(speed - computed));
    row.implied->setText(figure_text(implied, 2));

    const bool outside = std::isfinite(temperature)
        && !within_validity(row.equation, water->salinity(), temperature, d);
    for (QLabel *label : {row.name, row.computed, row.difference})
        mark(label, outside);
    mark(
        row.implied,
        outside
            || (std::isfinite(implied) && !within_validity(row.equation, implied, temperature, d)));
}
