#ifndef STARTOPTIONS_H
#define STARTOPTIONS_H

#include "mqttconfig.h"
#include "navsource.h"
#include "outputconfig.h"
#include "probeformat.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// What an unattended start is told on the command line. Without any of it
// the program starts exactly as an operator would find it.
struct StartOptions
{
    QString port; // a port name or path for the input
    std::optional<qint32> baud;
    bool open = false; // open the port at start, retrying every second
    bool average_good_only = false; // block averages of good readings only
    std::optional<InputFormat> input_format; // --input-format NAME|auto
    QString lang; // --lang CODE: the interface language, remembered unless --defaults
    QVector<OutputConfig> outputs;

    bool defaults = false; // start from the defaults; remembered settings left alone
    QString profile; // start with this profile
    QString record_dir; // record from the start into a new file there

    // Publishing: --mqtt HOST[:PORT], --station, --mqtt-user (the password
    // from SV_MQTT_PASSWORD), --mqtt-ca for TLS.
    bool mqtt = false;
    MqttConfig mqtt_config;

    // The GNSS receiver: --nav serial:PATH[:BAUD] or --nav udp:PORT.
    std::optional<NavSource> nav;

    // Batch: --report LOG --pdf OUT.pdf writes the report and exits.
    QString report_log, report_pdf;
    // Batch: --export-track LOG and one of --geojson, --kml, --gpx OUT
    // writes the log's positioned readings as a track and exits.
    QString track_log, track_out;
    QString track_format; // "geojson", "kml" or "gpx"
    // --help and --version print and exit.
    bool help = false, version = false;

    // Nothing to show: what is asked for needs no display.
    bool batch() const { return help || version || !report_log.isEmpty() || !track_log.isEmpty(); }

    // The arguments after the program's name. False with *error saying what
    // is wrong, for stderr and exit status 2.
    static bool parse(const QStringList &arguments, StartOptions *options, QString *error);
    static QString usage();
};

#endif
