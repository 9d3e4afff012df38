#ifndef OUTPUTLIST_H
#define OUTPUTLIST_H

#include "outputchannel.h"

#include <QTableWidget>

// The outputs, one a row: the destination with a tick to switch it on and
// off, the format, the gate, the state and why, the counts and the last
// sentence sent. Filling it again keeps the operator's selection. Each
// column fits what it shows in the list's font.
class OutputList : public QTableWidget
{
    Q_OBJECT

public:
    explicit OutputList(QWidget *parent = nullptr);

    void show_outputs(const QVector<OutputConfig> &configs, const QVector<OutputStatus> &statuses);
    // The selected row, or -1.
    int chosen() const;

signals:
    // The operator ticked an output on or off.
    void switched(int row, bool on);

protected:
    // Sized again by the font the style sheet gives it.
    void changeEvent(QEvent *event) override;

private:
    void fit_columns();
    // The width a cell needs to show text whole.
    int cell_width(const QString &text) const;
    void fill_row(int row, const OutputConfig &config, const OutputStatus &status);
    void cell_changed(int row, int column);

    bool filling = false; // the rows are being filled, not ticked by the operator
};

#endif
