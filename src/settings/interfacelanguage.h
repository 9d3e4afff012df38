#ifndef INTERFACELANGUAGE_H
#define INTERFACELANGUAGE_H

#include <QString>
#include <QStringList>

// The language the interface speaks: Chinese, the texts' own, unless another
// is chosen, never taken from the system's locale. Each language is known by
// a short code ("zh", "en") that --lang and the settings use; the ones other
// than Chinese are the translations embedded in the program.
class InterfaceLanguage
{
public:
    static QString source() { return QStringLiteral("zh"); }
    // "zh" first, then every embedded translation.
    static QStringList codes();
    static bool known(const QString &code) { return codes().contains(code); }
    // The language's name in itself ("中文", "English").
    static QString name(const QString &code);

    // Installs the program's and the toolkit's translations for code on the
    // application, before any window is built; false when code is unknown
    // (the interface stays Chinese). Numbers are written the same in every
    // language: the default locale becomes C.
    static bool install(const QString &code);
    // What install() put in place.
    static QString running() { return current; }

    // The language the next start is to use, as the operator chose it.
    static QString chosen() { return wanted.isEmpty() ? current : wanted; }
    static void choose(const QString &code);

    // The window asked to be started again in chosen() once it has ended.
    static void request_restart() { restart_wanted = true; }
    static bool restart_requested() { return restart_wanted; }
    // The arguments to start again in code: these with any --lang replaced.
    static QStringList restart_arguments(const QStringList &arguments, const QString &code);

private:
    static QString current, wanted;
    static bool restart_wanted;
};

#endif
