#ifndef CROSSCHECKPANEL_H
#define CROSSCHECKPANEL_H

#include "soundspeed.h"

#include <QWidget>

class QDoubleSpinBox;
class QLabel;
class TrendModel;
class WaterSettings;

// Compares the newest reading with the speed each standard equation gives at
// its measured temperature, for the salinity and depth the operator enters:
// the computed speed, measured minus computed, and the salinity at which the
// equation would match the measurement. A row outside the range its equation
// was fitted over is marked, since its figures are then extrapolations.
class CrossCheckPanel : public QWidget
{
    Q_OBJECT

public:
    CrossCheckPanel(TrendModel *model, WaterSettings *water, QWidget *parent = nullptr);

    // Recomputes the rows for the model's newest reading.
    void refresh();

private:
    struct Row
    {
        SoundEquation equation;
        QLabel *name, *computed, *difference, *implied;
    };

    void take_settings();
    void show_row(const Row &row, double speed, double temperature);

    TrendModel *model;
    WaterSettings *water;
    QDoubleSpinBox *salinity;
    QDoubleSpinBox *depth;
    QVector<Row> rows;
};

#endif
