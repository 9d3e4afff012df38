#ifndef WATERSETTINGS_H
#define WATERSETTINGS_H

#include <QObject>

// The water the cross-check assumes, as the operator enters it: salinity in
// PSU and depth in metres. Every view's entries follow one another.
class WaterSettings : public QObject
{
    Q_OBJECT

public:
    explicit WaterSettings(QObject *parent = nullptr) : QObject(parent) { }

    void set_salinity(double value);
    double salinity() const { return water_salinity; }
    void set_depth(double value);
    double depth() const { return water_depth; }

signals:
    void changed();

private:
    double water_salinity = 35.0;
    double water_depth = 0.0;
};

#endif
