#include "qualitylimits.h"

#include <QCoreApplication>

#include <cmath>

// A finite, non-negative number, or an error naming the field.
static bool read_speed(const QString &text, const char *field, double *value, QString *error)
{
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    if (ok && std::isfinite(*value) && *value >= 0.0)
        return true;
    *error = QCoreApplication::translate("QualityLimits", "%1应为不小于 0 的数字：“%2”")
                 .arg(QCoreApplication::translate("QualityLimits", field), text);
    return false;
}

QString check_quality_limits(const QString &low_text, const QString &high_text,
                             const QString &spike_text, double *low, double *high, double *spike)
{
    QString error;
    double l = 0.0, h = 0.0, s = 0.0;
    if (!read_speed(low_text, QT_TRANSLATE_NOOP("QualityLimits", "范围最小值"), &l, &error)
        || !read_speed(high_text, QT_TRANSLATE_NOOP("QualityLimits", "范围最大值"), &h, &error)
        || !read_speed(spike_text, QT_TRANSLATE_NOOP("QualityLimits", "跳变阈值"), &s, &error))
        return error;
    if (l > h)
        return QCoreApplication::translate("QualityLimits", "范围最小值 %1 大于最大值 %2")
            .arg(l)
            .arg(h);
    // A zero threshold would call every change of the last digit a spike.
    if (s <= 0.0)
        return QCoreApplication::translate("QualityLimits", "跳变阈值应大于 0");
    *low = l;
    *high = h;
    *spike = s;
    return QString();
}
