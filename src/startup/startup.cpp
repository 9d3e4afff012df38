#include "startup.h"
#include "frmain.h"
#include "interfacelanguage.h"
#include "mqttconfig.h"
#include "navigation.h"
#include "outputhub.h"
#include "savepacer.h"
#include "settingspanel.h"
#include "settingsstore.h"
#include "stationbinding.h"
#include "statustabs.h"

#include <QApplication>
#include <QComboBox>

// A rate the list lacks is offered too: the command line knows the device.
static void choose_baud(QComboBox *choice, qint32 baud)
{
    if (!choose_item(choice, baud)) {
        choice->addItem(QString::number(baud), baud);
        choice->setCurrentIndex(choice->count() - 1);
    }
}

static void apply_start_options(frmain &window, const StartOptions &options)
{
    if (!options.port.isEmpty())
        window.port_combobox->setEditText(options.port);
    if (options.baud)
        choose_baud(window.baud_combobox, *options.baud);
    if (options.average_good_only)
        window.station()->acquisition().set_average_good_only(true);
    if (options.input_format) {
        InputChoice input = window.station()->input();
        input.format = *options.input_format;
        window.station()->set_input(input);
    }
    // Outputs given at start replace those remembered, so that the same
    // command line at every start does not pile them up.
    OutputHub *outputs = window.station()->outputs();
    if (!options.outputs.isEmpty())
        outputs->clear();
    for (const OutputConfig &output : options.outputs)
        outputs->add(output);
    if (options.mqtt) {
        MqttConfig config = options.mqtt_config;
        config.take_password_from_environment();
        window.station()->publish_to(config);
    }
    // It replaces a remembered receiver; it connects, or keeps trying, by itself.
    if (options.nav)
        window.station()->navigation()->start(*options.nav);
    if (!options.lang.isEmpty())
        InterfaceLanguage::choose(options.lang);
}

void start_unattended(frmain &window, const StartOptions &options, QTextStream &err)
{
    if (options.open && !window.open_at_start())
        err << "svterminal: " << window.port_combobox->currentText() << ": "
            << window.station()->session()->failure_reason() << Qt::endl;
    QString problem;
    if (!options.record_dir.isEmpty() && window.record_into(options.record_dir, &problem).isEmpty())
        err << "svterminal: " << problem << Qt::endl;
}

StartSettings read_start_settings(SettingsStore &store, const StartOptions &options)
{
    StartSettings start;
    if (options.defaults)
        return start;
    if (options.profile.isEmpty())
        start.settings = store.load(&start.problems);
    else
        start.settings = store.load_profile(options.profile, &start.problems);
    return start;
}

QString start_language(const StartOptions &options, const StartSettings &start)
{
    if (!options.lang.isEmpty())
        return options.lang;
    if (start.settings && start.settings->language)
        return *start.settings->language;
    return InterfaceLanguage::source();
}

// Remembered settings, or a profile's, before what the command line says;
// none of them with --defaults.
static void load_settings(frmain &window, const StartSettings &start, QTextStream &err)
{
    QString message = start.problems.text();
    if (!start.problems.missing_profile.isEmpty())
        err << "svterminal: " << message << Qt::endl;
    QStringList problems;
    if (start.settings)
        apply_station_settings(window, *start.settings, &problems);
    if (!problems.isEmpty()) {
        const QString unapplied
            = QCoreApplication::translate("Startup", "部分设置未能应用：%1")
                  .arg(problems.join(QCoreApplication::translate("Startup", "、")));
        message = message.isEmpty()
            ? unapplied
            : QCoreApplication::translate("Startup", "%1；%2").arg(message, unapplied);
    }
    if (!message.isEmpty())
        window.tell(message);
}

static void keep_settings(frmain &window, SettingsStore &store, const StartOptions &options)
{
    // What the operator then changes is what a profile would replace.
    const StationSettings baseline = collect_station_settings(window);
    window.status_area()->add_tab(
        [&window, &store, baseline] { return new SettingsPanel(&window, &store, baseline); },
        QCoreApplication::translate("Startup", "设置"));
    if (options.defaults)
        return;
    auto *pacer = new SavePacer(1000, 30000, &window);
    const auto save
        = [&window, &store] { store.save_if_changed(collect_station_settings(window)); };
    QObject::connect(pacer, &SavePacer::due, &window, save);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &window, save);
    pacer->watch(qApp);
    pacer->start();
}

void prepare_window(frmain &window, SettingsStore &store, const StartOptions &options)
{
    prepare_window(window, store, options, read_start_settings(store, options));
}

void prepare_window(frmain &window, SettingsStore &store, const StartOptions &options,
                    const StartSettings &start)
{
    QTextStream err(stderr);
    load_settings(window, start, err);
    apply_start_options(window, options);
    keep_settings(window, store, options);
}
