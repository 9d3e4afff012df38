#include "startoptions.h"

QString StartOptions::usage()
{
    return QStringLiteral(
        "usage: svterminal [--port NAME] [--baud N] [--open]\n"
        "                  [--output udp:HOST:PORT[:FORMAT]] [--output tcp:PORT[:FORMAT]]\n"
        "                  [--output serial:PATH[:BAUD[:FORMAT]]]\n"
        "FORMAT: sv2 (default), sv3, svt, line or json\n");
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
    *error = QStringLiteral("unknown option: %1").arg(argument);
    return false;
}

bool StartOptions::parse(const QStringList &arguments, StartOptions *options, QString *error)
{
    *options = StartOptions();
    for (int i = 0; i < arguments.size(); ++i)
        if (!take_option(arguments, &i, options, error))
            return false;
    if (options->outputs.size() > 8) {
        *error = QStringLiteral("at most 8 outputs");
        return false;
    }
    return true;
}
