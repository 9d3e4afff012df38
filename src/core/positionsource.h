#ifndef POSITIONSOURCE_H
#define POSITIONSOURCE_H

#include <QByteArray>
#include <QString>

#include <optional>

// Where the vessel was when a reading was taken, as the navigation input
// knew it then.
struct ReadingPosition
{
    // Decimal degrees, south and west negative: the exact text with 7
    // decimals, and the double nearest to it.
    QString latitude_text, longitude_text;
    double latitude = 0.0, longitude = 0.0;
    int fix_quality = 0; // GGA's: 1 GNSS, 2 differential, 4 RTK fixed...
    qint64 fix_age_ms = 0; // from the fix's arrival to the reading

    // "0.4": tenths of a second, for the log and the sentences.
    QString fix_age_text() const;
};

// What stamps each reading with a position and the PC clock's offset from
// GNSS time; the pipeline asks it once per reading, at the reading's time.
// Kept here so the pipeline does not depend on where positions come from.
class PositionSource
{
public:
    virtual ~PositionSource() = default;

    // The position for a reading taken at utc_ms (the pipeline's clock), if
    // a fix is fresh then.
    virtual std::optional<ReadingPosition> position_at(qint64 utc_ms) const = 0;
    // The PC clock minus GNSS time in force at utc_ms, if one is.
    virtual std::optional<qint64> clock_offset_at(qint64 utc_ms) const = 0;
};

// ,"latitude":30.1234567,"longitude":122.1234567,"fix_age_s":0.4 for the
// end of a JSON object; empty without a position.
QByteArray position_json(const std::optional<ReadingPosition> &position);

#endif
