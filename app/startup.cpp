#include "startup.h"
#include "frmain.h"
#include "outputhub.h"

#include <QComboBox>

static void choose_baud(QComboBox *choice, qint32 baud)
{
    int index = choice->findData(baud);
    if (index < 0) {
        choice->addItem(QString::number(baud), baud);
        index = choice->count() - 1;
    }
    choice->setCurrentIndex(index);
}

void apply_start_options(frmain &window, const StartOptions &options)
{
    if (!options.port.isEmpty())
        window.port_combobox->setEditText(options.port);
    if (options.baud)
        choose_baud(window.baud_combobox, *options.baud);
    for (const OutputConfig &output : options.outputs)
        window.output_hub()->add(output);
}

void open_if_asked(frmain &window, const StartOptions &options)
{
    if (options.open)
        window.open_at_start();
}
