#ifndef TIMETEXT_H
#define TIMETEXT_H

#include <QString>

// A moment in the PC's local time with its zone, as the operator reads it
// beside UTC times: "2026-12-07 16:00:00 UTC+08:00".
QString local_time_text(qint64 utc_ms);
// The PC's zone at that moment: "UTC+08:00".
QString local_zone_text(qint64 utc_ms);

#endif
