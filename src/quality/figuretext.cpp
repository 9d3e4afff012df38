#include "figuretext.h"

#include <QCoreApplication>

#include <cmath>

const char no_figure[] = "—";

QString figure_text(double value, int decimals)
{
    return std::isfinite(value) ? QString::number(value, 'f', decimals) : QString(no_figure);
}

QString duration_text(qint64 ms)
{
    if (ms < 60000)
        return QCoreApplication::translate("FigureText", "%1 秒")
            .arg(double(ms) / 1000.0, 0, 'f', 1);
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
