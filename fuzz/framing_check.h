#ifndef FRAMING_CHECK_H
#define FRAMING_CHECK_H

#include "probeformat.h"

#include <QByteArray>
#include <QVector>

#include <cstddef>
#include <cstdint>

// How a fuzzing input is read. The first byte chooses the averaging point
// count (its low three bits) and how many chunk-length bytes follow (the next
// three bits); with its bit 6 set, a byte before those chooses the input
// format (low three bits: 0 automatic, else that FormatId) and, with its bit
// 3, ignores checksums; without it the stream is read as dollar. Each
// chunk-length byte is one chunk length minus one, and the lengths repeat
// over the stream. Everything after them is the byte stream from the
// instrument.
struct FramingInput
{
    unsigned int points = 5;
    InputFormat format = InputFormat::fixed(FormatId::dollar);
    bool ignore_checksums = false;
    QVector<int> chunk_lengths; // empty: the stream arrives in one chunk
    QByteArray stream;
};

FramingInput parse_framing_input(const uint8_t *data, size_t size);

// Feeds the stream through the reader's framing (decoder, line framer, field
// split or the format's reader, block average) whole, in the chosen chunks and, up to 1 KiB, a byte
// at a time, and aborts with a message on any broken invariant. Returns the
// number of lines taken out of the stream.
int check_framing(const uint8_t *data, size_t size);

#endif
