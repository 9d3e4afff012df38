#ifndef CROSSCHECKPANEL_H
#define CROSSCHECKPANEL_H

#include "soundspeed.h"

#include <QWidget>

#include <cmath>

class QDoubleSpinBox;
class QLabel;
class WaterSettings;
struct SpanFigures;

// Compares the measured speed with the speed each standard equation gives at
// the measured temperature, for the salinity and depth the operator enters
// (the depth the probe measures instead, when it gives one):
// the computed speed, measured minus computed, and the salinity at which the
// equation would match the measurement. Live it compares the newest reading;
// in a review, the means of the good readings of a span. A row whose water is
// outside the range its equation was fitted over is marked, and so is an
// implied salinity outside it, since those figures are extrapolations.
class CrossCheckPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CrossCheckPanel(WaterSettings *water, QWidget *parent = nullptr);

    // speed, temperature: NaN when there is none.
    void show_reading(double speed, double temperature);
    void show_figures(const SpanFigures &figures);

private:
    struct Row
    {
        SoundEquation equation;
        QLabel *name, *computed, *difference, *implied;
    };

    void take_settings();
    void show_row(const Row &row, double speed, double temperature, double computed,
                  double implied);

    WaterSettings *water;
    QDoubleSpinBox *salinity;
    QDoubleSpinBox *depth;
    QLabel *measured_note;
    QVector<Row> rows;
    double last_speed = NAN, last_temperature = NAN;
};

#endif
