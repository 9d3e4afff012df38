#ifndef MQTTPAYLOAD_H
#define MQTTPAYLOAD_H

#include "readingsink.h"

#include <QByteArray>
#include <QStringList>
#include <QVariantMap>

// The JSON each topic carries. Times are ISO 8601 UTC with milliseconds.
namespace mqtt_payload {

// {"time_utc":...,"speed_m_s":1489.805,"temperature_c":10.0449,
//  "average_m_s":1489.8,"quality":"ok"}: the numbers as the instrument sent
// them; temperature_c and average_m_s are null when there is none yet. With
// a position, "latitude", "longitude" and "fix_age_s" follow "quality".
QByteArray reading(const Measurement &measurement);
// {"event":"port_lost","time_utc":...}
QByteArray event(const QString &name, qint64 utc_ms);
// ["speed_low",...]: the alarms active now; [] when none.
QByteArray alarms(const QStringList &active);
// {"state":"online","station":...} and whatever the program adds (port,
// settings, version, the last position); the last will is {"state":"offline","station":...}.
QByteArray status(bool online, const QString &station, const QVariantMap &details = {});

QString utc_text(qint64 utc_ms);

} // namespace mqtt_payload

#endif
