#ifndef SENTENCE_H
#define SENTENCE_H

#include "readingsink.h"

#include <QByteArray>
#include <QString>

// What an output sends for each reading.
enum class SentenceFormat : quint8 {
    sv2, // " 1489.81\r\n": the speed, 2 decimals, at least 4 digits before the point
    sv3, // " 1489.805\r\n": the same with 3 decimals
    svt, // " 1489.805 10.045\r\n": and the temperature with 3 decimals when there is one
    line, // "$ 1489.805 10.0449\r\n": the instrument's line as received (another
          // probe's exactly, with its own line end)
    json, // one JSON object a line
};

// The format's name on the command line and in the settings: sv2, sv3, svt,
// line, json.
QString format_name(SentenceFormat format);
// False when name is none of them.
bool format_from_name(const QString &name, SentenceFormat *format);

// The sentence for a reading. Values are rounded from the received text.
QByteArray build_sentence(SentenceFormat format, const Measurement &measurement);

// {"time_utc":"2026-12-07T08:00:00.125Z","speed_m_s":1489.805,
// "temperature_c":10.0449,"quality":"ok"} and "\n", the numbers as received,
// "temperature_c":null without a temperature. With with_average, an
// "average_m_s" before "quality": the average as displayed, or null before
// the first block. A reading stamped with a position ends with "latitude",
// "longitude" (7 decimals) and "fix_age_s"; one without has none of them.
QByteArray measurement_json(const Measurement &measurement, bool with_average = false);

#endif
