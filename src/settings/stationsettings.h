#ifndef STATIONSETTINGS_H
#define STATIONSETTINGS_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// Everything the program remembers between runs. A field left unset means
// "keep the window's own default", so settings that are missing, damaged or
// from another version never override what the window starts with.
struct StationSettings
{
    // The serial line, as QSerialPort's enum values.
    std::optional<QString> port_name;
    std::optional<int> baud, data_bits, parity, stop_bits;
    // What the instrument is configured to send.
    std::optional<QString> instrument_baud; // as offered, e.g. "9600"
    std::optional<int> output_rate; // lines a second, 1..30
    std::optional<bool> temperature_output;
    std::optional<int> average_count; // readings in a block average, > 0
    std::optional<bool> average_good_only; // blocks of readings flagged ok only
    std::optional<bool> pane_arrival_times; // each pane line after its UTC arrival time
    std::optional<bool> line_log; // a timestamped line log beside each recording
    // The input: "auto" or a format's name, sentences read whatever their
    // checksum, the text sent after opening when a format is chosen by name
    // (as typed, escapes and all; may be empty).
    std::optional<QString> input_format;
    std::optional<bool> ignore_checksums;
    std::optional<QString> start_text;
    // Quality limits, m/s.
    std::optional<double> range_low, range_high, spike_threshold;
    // The water the computed speed is for.
    std::optional<double> salinity; // PSU, 0..50
    std::optional<double> depth; // m, 0..12000
    std::optional<int> trend_span_s; // 300, 1800 or 7200
    // Kept for other parts of the program; only their types are checked here.
    std::optional<QVariantList> outputs; // each a QVariantMap
    std::optional<QVariantMap> alarms, mqtt;
    std::optional<QString> recording_folder; // where the last recording was saved
    std::optional<QByteArray> trend_window_geometry; // QWidget::saveGeometry()
    // The GNSS receiver: its source as --nav takes it (kept while stopped,
    // so the operator finds it again), whether it is read, and how long a
    // fix stamps the readings after it arrived.
    std::optional<QString> nav_source;
    std::optional<bool> nav_on;
    std::optional<double> nav_fresh_s; // 0.1..60
    // The interface language's code ("zh", "en"), used from the next start.
    std::optional<QString> language;

    // What the program starts with when nothing is stored. The instrument's
    // own fields stay unset: the window keeps what it shows.
    static StationSettings defaults();

    // Every key a field is stored under.
    static QStringList keys();
    // Keys such as "port/baud" for the fields that are set.
    QVariantMap to_map() const;
    // Fields of the map that are present, of the right type and in range;
    // the key of each one that is not goes to *problems and stays unset.
    // Keys it does not know are ignored.
    static StationSettings from_map(const QVariantMap &map, QStringList *problems);

    bool operator==(const StationSettings &other) const { return to_map() == other.to_map(); }
    bool operator!=(const StationSettings &other) const { return !(*this == other); }
};

#endif
