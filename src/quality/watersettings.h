#ifndef WATERSETTINGS_H
#define WATERSETTINGS_H

#include "readingsink.h"

#include <QObject>

#include <cmath>

// The water the cross-check assumes, as the operator enters it: salinity in
// PSU and depth in metres. Every view's entries follow one another. As the
// pipeline's consumer it also knows the depth the probe measures, if any,
// which then stands in for the depth entered.
class WaterSettings : public QObject, public ReadingSink
{
    Q_OBJECT

public:
    explicit WaterSettings(QObject *parent = nullptr) : QObject(parent) { }

    void set_salinity(double value);
    double salinity() const { return water_salinity; }
    void set_depth(double value);
    double depth() const { return water_depth; }
    // From the newest reading: its depth, or its pressure as depth; NaN when
    // the probe gives neither.
    double measured_depth() const { return measured; }
    double depth_in_use() const { return std::isfinite(measured) ? measured : water_depth; }

    int take(const Measurement &measurement) override;

signals:
    // Also when the probe starts or stops giving a depth (not at each value).
    void changed();

private:
    double water_salinity = 35.0;
    double water_depth = 0.0;
    double measured = NAN;
};

#endif
