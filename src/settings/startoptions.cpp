#include "startoptions.h"

QString StartOptions::usage()
{
    return QStringLiteral(
        "usage: svterminal [--port NAME] [--baud N] [--open] [--average-good-only]\n"
        "                  [--input-format auto|NAME]\n"
        "                  [--output udp:HOST:PORT[:FORMAT]] [--output tcp:PORT[:FORMAT]]\n"
        "                  [--output serial:PATH[:BAUD[:FORMAT]]]\n"
        "                  [--defaults | --profile NAME] [--record DIR]\n"
        "                  [--mqtt HOST[:PORT] --station NAME [--mqtt-user USER] [--mqtt-ca "
        "FILE]]\n"
        "                  [--nav serial:PATH[:BAUD] | --nav udp:PORT]\n"
        "                  [--lang zh|en]\n"
        "       svterminal --report LOG --pdf OUT.pdf [--profile NAME] [--lang zh|en]\n"
        "       svterminal --export-track LOG --geojson OUT | --kml OUT | --gpx OUT\n"
        "       svterminal --help | --version\n"
        "FORMAT: sv2 (default), sv3, svt, line or json; the MQTT password comes from\n"
        "the environment variable SV_MQTT_PASSWORD\n"
        "NAME (the probe's line format, recognised by default): dollar, sv, sv_mm,\n"
        "p_t_sv, tagged, psgds, pssv or t_c_s_sv\n");
}

// "--name value" and "--name=value" alike.
static bool take_value(const QStringList &arguments, int *index, const QString &name,
                       QString *value, QString *error)
{
    const QString &argument = arguments.at(*index);
    if (argument.startsWith(name + QLatin1Char('='))) {
        *value = argument.mid(name.size() + 1);
        return true;
    }
    if (*index + 1 >= arguments.size()) {
        *error = QStringLiteral("%1 needs a value").arg(name);
        return false;
    }
    *value = arguments.at(++*index);
    return true;
}

// Options whose value is kept as given, by name.
static QString *text_field(StartOptions *options, const QString &name)
{
    if (name == QLatin1String("--profile"))
        return &options->profile;
    if (name == QLatin1String("--record"))
        return &options->record_dir;
    if (name == QLatin1String("--station"))
        return &options->mqtt_config.station;
    if (name == QLatin1String("--mqtt-user"))
        return &options->mqtt_config.user;
    if (name == QLatin1String("--mqtt-ca"))
        return &options->mqtt_config.ca_file;
    if (name == QLatin1String("--report"))
        return &options->report_log;
    if (name == QLatin1String("--pdf"))
        return &options->report_pdf;
    if (name == QLatin1String("--export-track"))
        return &options->track_log;
    if (name == QLatin1String("--lang"))
        return &options->lang;
    return nullptr;
}

// --nav SOURCE, or the track's --geojson/--kml/--gpx OUT; false when name is
// neither, or with *error set.
static bool take_nav(const QStringList &arguments, int *index, StartOptions *options,
                     QString *error)
{
    const QString name = arguments.at(*index).section(QLatin1Char('='), 0, 0);
    QString value;
    if (name == QLatin1String("--nav")) {
        if (!take_value(arguments, index, name, &value, error))
            return false;
        QString problem;
        options->nav = NavSource::parse(value, &problem);
        return options->nav || (*error = QStringLiteral("--nav %1: %2").arg(value, problem), false);
    }
    for (const char *format : {"geojson", "kml", "gpx"}) {
        if (name == QLatin1String("--") + QLatin1String(format)) {
            if (!options->track_format.isEmpty()) {
                *error = QStringLiteral("one of --geojson, --kml or --gpx");
                return false;
            }
            options->track_format = QLatin1String(format);
            return take_value(arguments, index, name, &options->track_out, error)
                && (!options->track_out.isEmpty()
                    || (*error = QStringLiteral("%1 needs a value").arg(name), false));
        }
    }
    *error = QStringLiteral("unknown option: %1").arg(arguments.at(*index));
    return false;
}

static bool take_more(const QStringList &arguments, int *index, StartOptions *options,
                      QString *error)
{
    const QString argument = arguments.at(*index);
    const QString name = argument.section(QLatin1Char('='), 0, 0);
    QString value;
    if (name == QLatin1String("--defaults") && name == argument) {
        options->defaults = true;
        return true;
    }
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
        options->help = true;
        return true;
    }
    if (argument == QLatin1String("--version")) {
        options->version = true;
        return true;
    }
    if (name == QLatin1String("--input-format")) {
        InputFormat input;
        if (!take_value(arguments, index, name, &value, error))
            return false;
        if (!InputFormat::from_name(value.toStdString(), &input)) {
            *error = QStringLiteral("--input-format: not auto or a format's name: %1").arg(value);
            return false;
        }
        options->input_format = input;
        return true;
    }
    if (name == QLatin1String("--mqtt")) {
        if (!take_value(arguments, index, name, &value, error))
            return false;
        options->mqtt = options->mqtt_config.parse_address(value);
        return options->mqtt
            || (*error = QStringLiteral("--mqtt: not HOST[:PORT]: %1").arg(value), false);
    }
    if (QString *field = text_field(options, name)) {
        if (!take_value(arguments, index, name, &value, error))
            return false;
        *field = value;
        return !value.isEmpty() || (*error = QStringLiteral("%1 needs a value").arg(name), false);
    }
    return take_nav(arguments, index, options, error);
}

static bool take_option(const QStringList &arguments, int *index, StartOptions *options,
                        QString *error)
{
    const QString argument = arguments.at(*index);
    const QString name = argument.section(QLatin1Char('='), 0, 0);
    QString value;
    if (name == QLatin1String("--open") && name == argument) {
        options->open = true;
        return true;
    }
    if (name == QLatin1String("--average-good-only") && name == argument) {
        options->average_good_only = true;
        return true;
    }
    if (name == QLatin1String("--port")) {
        if (!take_value(arguments, index, name, &value, error))
            return false;
        options->port = value;
        return !value.isEmpty() || (*error = QStringLiteral("--port needs a name"), false);
    }
    if (name == QLatin1String("--baud")) {
        if (!take_value(arguments, index, name, &value, error))
            return false;
        bool number = false;
        const int baud = value.toInt(&number);
        if (!number || baud <= 0) {
            *error = QStringLiteral("--baud: not a baud rate: %1").arg(value);
            return false;
        }
        options->baud = baud;
        return true;
    }
    if (name == QLatin1String("--output")) {
        OutputConfig config;
        if (!take_value(arguments, index, name, &value, error))
            return false;
        if (!OutputConfig::parse(value, &config, error)) {
            *error = QStringLiteral("--output %1: %2").arg(value, *error);
            return false;
        }
        options->outputs.append(config);
        return true;
    }
    return take_more(arguments, index, options, error);
}

// What only makes sense with something else, or never with it.
static bool check_together(StartOptions *options, QString *error)
{
    const auto refuse = [error](const char *text) {
        *error = QString::fromLatin1(text);
        return false;
    };
    if (options->outputs.size() > 8)
        return refuse("at most 8 outputs");
    if (options->defaults && !options->profile.isEmpty())
        return refuse("--defaults and --profile exclude each other");
    if (options->report_log.isEmpty() != options->report_pdf.isEmpty())
        return refuse("--report LOG and --pdf OUT.pdf go together");
    if (options->track_log.isEmpty() != options->track_format.isEmpty())
        return refuse("--export-track LOG and one of --geojson, --kml or --gpx OUT go together");
    const bool mqtt_detail = !options->mqtt_config.station.isEmpty()
        || !options->mqtt_config.user.isEmpty() || !options->mqtt_config.ca_file.isEmpty();
    if (mqtt_detail && !options->mqtt)
        return refuse("--station, --mqtt-user and --mqtt-ca need --mqtt");
    if (options->mqtt && options->mqtt_config.station.isEmpty())
        return refuse("--mqtt needs --station NAME");
    options->mqtt_config.tls = !options->mqtt_config.ca_file.isEmpty();
    return true;
}

bool StartOptions::parse(const QStringList &arguments, StartOptions *options, QString *error)
{
    *options = StartOptions();
    for (int i = 0; i < arguments.size(); ++i)
        if (!take_option(arguments, &i, options, error))
            return false;
    return check_together(options, error);
}
