#include "stationbinding.h"
#include "alarmmonitor.h"
#include "frmain.h"
#include "interfacelanguage.h"
#include "mqttconfig.h"
#include "mqttpublisher.h"
#include "navigation.h"
#include "outputhub.h"
#include "screenpainter.h"
#include "statustabs.h"
#include "watersettings.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>

static QVariantList output_maps(const OutputHub *hub)
{
    QVariantList maps;
    for (const OutputConfig &config : hub->configs())
        maps << config.to_map();
    return maps;
}

StationSettings collect_station_settings(frmain &window)
{
    StationSettings s;
    s.port_name = window.port_combobox->currentText();
    s.baud = window.baud_combobox->currentData().toInt();
    s.data_bits = window.databits_combobox->currentData().toInt();
    s.parity = window.parity_combobox->currentData().toInt();
    s.stop_bits = window.stopbits_combobox->currentData().toInt();
    s.instrument_baud = window.machine_baud_combobox->currentText();
    if (window.outrate_lineedit->text().toInt() > 0)
        s.output_rate = window.outrate_lineedit->text().toInt();
    s.temperature_output = window.temp_output_combobox->currentIndex() == 0;
    s.average_count = int(window.avg_points);
    s.average_good_only = window.station()->acquisition().average_good_only();
    s.pane_arrival_times = window.painter()->shows_arrival_times();
    s.line_log = window.station()->acquisition().line_log();
    const InputChoice &input = window.station()->input();
    s.input_format = QString::fromLatin1(input.format.name());
    s.ignore_checksums = input.ignore_checksums;
    s.start_text = input.start_text;
    const QualityCheck &limits = window.station()->acquisition().quality();
    s.range_low = limits.range_low();
    s.range_high = limits.range_high();
    s.spike_threshold = limits.spike();
    s.salinity = window.station()->water()->salinity();
    s.depth = window.station()->water()->depth();
    s.trend_span_s = window.status_area()->trend_span();
    s.outputs = output_maps(window.station()->outputs());
    s.alarms = window.station()->alarms()->settings().to_map();
    if (window.station()->publisher())
        s.mqtt = window.station()->publisher()->config().to_map();
    if (!window.data_file_name.isEmpty())
        s.recording_folder = QFileInfo(window.data_file_name).absolutePath();
    if (!window.status_area()->trend_geometry().isEmpty())
        s.trend_window_geometry = window.status_area()->trend_geometry();
    const Navigation *nav = window.station()->navigation();
    if (nav->source())
        s.nav_source = nav->source()->text();
    s.nav_on = nav->running();
    s.nav_fresh_s = double(nav->fresh_ms()) / 1000.0;
    s.language = InterfaceLanguage::chosen();
    return s;
}

bool choose_item(QComboBox *choice, const QVariant &value)
{
    const int index = choice->findData(value);
    if (index >= 0)
        choice->setCurrentIndex(index);
    return index >= 0;
}

static void apply_line(frmain &w, const StationSettings &s, QStringList *problems)
{
    if (w.my_com->isOpen())
        return;
    if (s.port_name)
        w.port_combobox->setEditText(*s.port_name);
    const auto pick
        = [problems](QComboBox *choice, const std::optional<int> &value, const char *key) {
              if (value && !choose_item(choice, *value))
                  *problems << QString::fromLatin1(key);
          };
    pick(w.baud_combobox, s.baud, "port/baud");
    pick(w.databits_combobox, s.data_bits, "port/data_bits");
    pick(w.parity_combobox, s.parity, "port/parity");
    pick(w.stopbits_combobox, s.stop_bits, "port/stop_bits");
}

static void apply_outputs(frmain &w, const StationSettings &s, QStringList *problems)
{
    if (!s.outputs)
        return;
    w.station()->outputs()->clear();
    for (const QVariant &map : *s.outputs) {
        OutputConfig config;
        QString error;
        if (OutputConfig::from_map(map.toMap(), &config, &error))
            w.station()->outputs()->add(config);
        else
            *problems << "outputs: " + error;
    }
}

// A source that no longer parses is named, and the input left as it is.
static void apply_nav(frmain &w, const StationSettings &s, QStringList *problems)
{
    Navigation *nav = w.station()->navigation();
    if (s.nav_fresh_s)
        nav->set_fresh_ms(qRound64(*s.nav_fresh_s * 1000.0));
    std::optional<NavSource> source;
    if (s.nav_source && !(source = NavSource::parse(*s.nav_source, nullptr)))
        *problems << QStringLiteral("nav/source");
    if (source)
        nav->choose(*source);
    // The same receiver read already goes on as it is, its fix kept.
    if (s.nav_on && *s.nav_on && source && !(nav->running() && nav->source() == source))
        nav->start(*source);
    else if (s.nav_on && !*s.nav_on)
        nav->stop();
}

void apply_station_settings(frmain &w, const StationSettings &s, QStringList *problems)
{
    apply_nav(w, s, problems);
    apply_line(w, s, problems);
    if (s.instrument_baud) {
        const int index = w.machine_baud_combobox->findText(*s.instrument_baud);
        if (index >= 0)
            w.machine_baud_combobox->setCurrentIndex(index);
    }
    if (s.output_rate)
        w.outrate_lineedit->setText(QString::number(*s.output_rate));
    if (s.temperature_output)
        w.temp_output_combobox->setCurrentIndex(*s.temperature_output ? 0 : 1);
    if (s.average_count) {
        w.avg_lineedit->setText(QString::number(*s.average_count));
        w.set_average_points(*s.average_count);
    }
    if (s.average_good_only)
        w.station()->acquisition().set_average_good_only(*s.average_good_only);
    if (s.pane_arrival_times)
        w.painter()->set_arrival_times(*s.pane_arrival_times);
    if (s.line_log)
        w.station()->acquisition().set_line_log(*s.line_log);
    InputChoice input = w.station()->input();
    if (s.input_format)
        InputFormat::from_name(s.input_format->toStdString(), &input.format);
    input.ignore_checksums = s.ignore_checksums.value_or(input.ignore_checksums);
    input.start_text = s.start_text.value_or(input.start_text);
    if (input != w.station()->input())
        w.station()->set_input(input);
    QualityCheck &limits = w.station()->acquisition().quality();
    limits.set_range(s.range_low.value_or(limits.range_low()),
                     s.range_high.value_or(limits.range_high()));
    limits.set_spike_threshold(s.spike_threshold.value_or(limits.spike()));
    w.status_area()->show_limits();
    if (s.salinity)
        w.station()->water()->set_salinity(*s.salinity);
    if (s.depth)
        w.station()->water()->set_depth(*s.depth);
    if (s.trend_span_s)
        w.status_area()->set_trend_span(*s.trend_span_s);
    apply_outputs(w, s, problems);
    if (s.alarms)
        w.station()->alarms()->set_settings(AlarmSettings::from_map(*s.alarms, problems),
                                            w.station()->now_ms());
    if (s.mqtt)
        w.station()->publish_to(MqttConfig::from_map(*s.mqtt));
    if (s.trend_window_geometry)
        w.status_area()->set_trend_geometry(*s.trend_window_geometry);
    if (s.recording_folder)
        w.data_file_name = *s.recording_folder + QLatin1Char('/');
    if (s.language)
        InterfaceLanguage::choose(*s.language);
}
