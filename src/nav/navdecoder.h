#ifndef NAVDECODER_H
#define NAVDECODER_H

#include "clockoffset.h"
#include "navstate.h"
#include "nmeaframer.h"
#include "nmeaparser.h"

#include <QVector>

// From a receiver's bytes to the navigation state and the clock offset:
// frames lines, parses sentences and applies what they say, all stamped with
// the arrival time given. No port, no timers: the input feeds it, tests too.
class NavDecoder
{
public:
    // What one piece of the stream brought.
    struct Batch
    {
        QVector<NavFix> fixes;
        QVector<qint64> offsets_ms; // one per dated sentence
        bool fix_lost = false;
        bool course_changed = false;
        bool counts_changed = false;
    };

    // Bytes from a serial port: a line may continue in the next call.
    Batch feed(const QByteArray &bytes, qint64 arrival_ms);
    // One datagram: its sentences, the last one even without a line end; a
    // sentence cut at its end is not joined with the next datagram.
    Batch feed_datagram(const QByteArray &datagram, qint64 arrival_ms);
    // The link was lost: the unfinished line is dropped and counted.
    void cut();

    NavState &state() { return nav; }
    const NavState &state() const { return nav; }
    ClockOffset &clock_offset() { return offset; }
    const ClockOffset &clock_offset() const { return offset; }
    NmeaCounts counts() const;

private:
    void take(const QByteArray &line, qint64 arrival_ms, Batch &batch);

    NmeaFramer framer;
    NmeaParser parser;
    NavState nav;
    ClockOffset offset;
};

#endif
