#ifndef MEASUREMENT_H
#define MEASUREMENT_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// Turns the instrument's byte stream into measurement lines: "$", one skipped
// character, the fields separated by single blanks, "\r\n".
// Needs nothing but Qt Core so tests, benchmarks and fuzzers can drive it.

// UTF-8 decoder that keeps its state between chunks, so a character split
// across two reads decodes the same as when it arrives whole. NUL bytes are
// dropped; every malformed byte becomes U+FFFD.
class ChunkDecoder
{
public:
    QString decode(const QByteArray &chunk);
    void reset();

private:
    uint code = 0;
    uint minimum = 0;
    int pending = 0; // continuation bytes still expected
};

class LineFramer
{
public:
    // Longest line, from "$" to "\r\n" inclusive, that can be a measurement.
    static const int max_line = 4096;

    // Appends decoded text; inside an overlong line, drops it up to its end.
    void append(QString &buffer, const QString &text);

    // Takes the first complete line out of buffer: the text after "$" and the
    // character that follows it, up to and including the first "\r\n".
    // Everything up to that line end leaves the buffer. Text without "$" is
    // dropped, and so is a line longer than max_line, so when this returns
    // false the buffer holds at most max_line characters.
    bool take_line(QString &buffer, QString *line);

    void reset() { skipping = false; }

private:
    void drop_keeping_cr(QString &buffer);
    bool skipping = false; // inside an overlong line, dropping up to its "\r\n"
};

// Fields at every single blank, empty parts kept; the line end stays on the last.
QStringList split_fields(const QString &line);

// The speed as a finite number, blanks and line end ignored.
bool speed_value(const QString &text, double *value);

// One speed into the block average. Returns true and sets *shown when the
// average display changes: on every line while points is below 2, otherwise
// when the block is full (the block then starts again). A speed that is not a
// number does not enter the block.
bool average_step(double &sum, unsigned int &count, unsigned int points, const QString &speed_text,
                  QString *shown);

#endif
