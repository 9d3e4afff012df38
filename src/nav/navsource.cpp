#include "navsource.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <iterator>

static const qint32 standard_bauds[]
    = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};

static QString bad_form(const QString &text)
{
    return QCoreApplication::translate("NavSource",
                                       "导航输入“%1”的格式应为 serial:串口[:波特率] 或 udp:端口")
        .arg(text);
}

static std::optional<NavSource> parse_serial(const QString &rest, QString *error)
{
    NavSource source;
    source.kind = NavSource::serial;
    source.path = rest;
    // A last part of digits only is the rate; a path may hold colons itself.
    const int colon = rest.lastIndexOf(QLatin1Char(':'));
    const QString last = rest.mid(colon + 1);
    bool number = false;
    const qint32 baud = last.toInt(&number);
    if (colon >= 0 && (number || last.isEmpty())) {
        source.path = rest.left(colon);
        if (!std::count(std::begin(standard_bauds), std::end(standard_bauds), baud)) {
            *error
                = QCoreApplication::translate(
                      "NavSource", "导航输入的波特率无效：“%1”（可用 1200 到 921600 的标准速率）")
                      .arg(last);
            return std::nullopt;
        }
        source.baud = baud;
    }
    if (source.path.isEmpty()) {
        *error = QCoreApplication::translate("NavSource", "导航输入缺少串口名");
        return std::nullopt;
    }
    return source;
}

std::optional<NavSource> NavSource::parse(const QString &text, QString *error)
{
    QString unused;
    error = error ? error : &unused;
    const int colon = text.indexOf(QLatin1Char(':'));
    const QString kind = text.left(colon), rest = text.mid(colon + 1);
    if (colon < 0) {
        *error = bad_form(text);
        return std::nullopt;
    }
    if (kind == QLatin1String("serial"))
        return parse_serial(rest, error);
    if (kind != QLatin1String("udp")) {
        *error = bad_form(text);
        return std::nullopt;
    }
    bool number = false;
    const int port = rest.toInt(&number);
    if (!number || port < 1 || port > 65535 || rest.startsWith(QLatin1Char('+'))) {
        *error = QCoreApplication::translate("NavSource",
                                             "导航输入的 UDP 端口应为 1 到 65535 之间的整数：“%1”")
                     .arg(rest);
        return std::nullopt;
    }
    NavSource source;
    source.kind = udp;
    source.port = quint16(port);
    return source;
}

QString NavSource::text() const
{
    if (kind == udp)
        return QStringLiteral("udp:%1").arg(port);
    return QStringLiteral("serial:%1:%2").arg(path).arg(baud);
}

bool NavSource::operator==(const NavSource &other) const
{
    return kind == other.kind && path == other.path && baud == other.baud && port == other.port;
}
