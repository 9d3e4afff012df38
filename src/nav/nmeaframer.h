#ifndef NMEAFRAMER_H
#define NMEAFRAMER_H

#include <QByteArray>
#include <QVector>

// Cuts a byte stream into lines ended by CR LF, LF or CR, so a receiver's
// line end does not matter. A line never grows past max_line bytes: the
// longest sentence NMEA 0183 allows is 82 bytes with its line end, and some
// receivers add precision, so a longer one is noise or two sentences run
// together; it is dropped whole and counted.
class NmeaFramer
{
public:
    static constexpr int max_line = 120;

    // The complete lines in bytes and what came before them, without line ends.
    QVector<QByteArray> feed(const QByteArray &bytes);
    // The unfinished line as it is (a datagram's last sentence may lack its
    // line end); the framer then starts afresh.
    QByteArray finish();
    // Drops the unfinished line, as after a reconnection: it could only join
    // with the tail of another sentence. True if there was one.
    bool drop_partial();

    qint64 overlong() const { return dropped_overlong; }

private:
    QByteArray partial;
    bool skipping = false; // inside an overlong line, up to its end
    qint64 dropped_overlong = 0;
};

#endif
