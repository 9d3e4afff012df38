#ifndef NAVSECTION_H
#define NAVSECTION_H

#include "settingssection.h"

#include <QTimer>

class QCustomPlot;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class Station;

// The GNSS receiver: where its sentences come from (serial:PATH[:BAUD] or
// udp:PORT), started and stopped here; how long a fix stamps the readings;
// the clock offset's alarm limit; and, while shown, the input's state and
// counts, the newest fix and the PC clock's offset from GNSS time with its
// trend over the last hour.
class NavSection : public SettingsSection
{
    Q_OBJECT

public:
    explicit NavSection(Station *station, QWidget *parent = nullptr);

    void show_current() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *build_plot();
    void apply_source();
    void stop_source();
    void apply_limits();
    void show_state();
    void show_offset_trend();

    Station *station;
    QLineEdit *source;
    QDoubleSpinBox *fresh, *offset_limit;
    QLabel *state, *counts, *fix, *offset;
    QCustomPlot *plot;
    QTimer state_timer;
};

#endif
