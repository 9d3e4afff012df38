#include "interfacelanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

QString InterfaceLanguage::current = InterfaceLanguage::source();
QString InterfaceLanguage::wanted;
bool InterfaceLanguage::restart_wanted = false;

static QString program_catalogue(const QString &code)
{
    return QStringLiteral(":/translations/svterminal_%1.qm").arg(code);
}

QStringList InterfaceLanguage::codes()
{
    QStringList codes{source()};
    const QStringList found
        = QDir(QStringLiteral(":/translations"))
              .entryList({QStringLiteral("svterminal_*.qm")}, QDir::Files, QDir::Name);
    for (const QString &file : found)
        codes << file.mid(11, file.size() - 14);
    return codes;
}

QString InterfaceLanguage::name(const QString &code)
{
    // Each translation names its own language as the translation of this.
    const char *const own_name = QT_TRANSLATE_NOOP("InterfaceLanguage", "中文");
    if (code == source())
        return QString::fromUtf8(own_name);
    QTranslator translator;
    if (!translator.load(program_catalogue(code)))
        return code;
    const QString translated = translator.translate("InterfaceLanguage", own_name);
    return translated.isEmpty() ? code : translated;
}

// The translators install() put in place, replaced by the next call.
static QList<QTranslator *> &installed()
{
    static QList<QTranslator *> translators;
    return translators;
}

static void install_catalogue(const QString &path)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(path)) {
        QCoreApplication::installTranslator(translator);
        installed() << translator;
    } else {
        delete translator;
    }
}

bool InterfaceLanguage::install(const QString &code)
{
    QLocale::setDefault(QLocale::c());
    if (!known(code))
        return false;
    for (QTranslator *translator : qAsConst(installed())) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    installed().clear();
    // The toolkit's catalogue for Chinese keeps its historical place.
    install_catalogue(code == source() ? QStringLiteral(":/new/prefix1/qt_zh_CN.qm")
                                       : QStringLiteral(":/translations/qt_%1.qm").arg(code));
    if (code != source())
        install_catalogue(program_catalogue(code));
    current = code;
    return true;
}

void InterfaceLanguage::choose(const QString &code)
{
    if (known(code))
        wanted = code;
}

QStringList InterfaceLanguage::restart_arguments(const QStringList &arguments, const QString &code)
{
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--lang"))
            ++i; // and its value
        else if (!arguments[i].startsWith(QLatin1String("--lang=")))
            kept << arguments[i];
    }
    return kept << QStringLiteral("--lang") << code;
}
