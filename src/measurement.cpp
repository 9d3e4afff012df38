#include "measurement.h"

#include <QtMath>

static void append_code_point(QString &text, uint code, uint minimum)
{
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        text += QChar(QChar::ReplacementCharacter);
    } else if (QChar::requiresSurrogates(code)) {
        text += QChar(QChar::highSurrogate(code));
        text += QChar(QChar::lowSurrogate(code));
    } else {
        text += QChar(code);
    }
}

QString ChunkDecoder::decode(const QByteArray &chunk)
{
    QString text;
    text.reserve(chunk.size());
    for (const char c : chunk) {
        const uint byte = uchar(c);
        if (pending > 0) {
            if ((byte & 0xC0) == 0x80) {
                code = (code << 6) | (byte & 0x3F);
                if (--pending == 0)
                    append_code_point(text, code, minimum);
                continue;
            }
            text += QChar(QChar::ReplacementCharacter); // sequence cut short
            pending = 0;
        }
        if (byte == 0)
            continue;
        if (byte < 0x80) {
            text += QChar(byte);
        } else if (byte >= 0xC2 && byte <= 0xDF) {
            code = byte & 0x1F;
            pending = 1;
            minimum = 0x80;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            code = byte & 0x0F;
            pending = 2;
            minimum = 0x800;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            code = byte & 0x07;
            pending = 3;
            minimum = 0x10000;
        } else {
            text += QChar(QChar::ReplacementCharacter);
        }
    }
    return text;
}

void ChunkDecoder::reset()
{
    pending = 0;
}

static const QString line_end = QStringLiteral("\r\n");

void LineFramer::append(QString &buffer, const QString &text)
{
    buffer += text;
    if (!skipping)
        return;
    const int end = buffer.indexOf(line_end);
    if (end >= 0) {
        buffer.remove(0, end + 2);
        skipping = false;
    } else {
        drop_keeping_cr(buffer);
    }
}

// Keeps a final "\r", which may be the first half of the line end looked for.
void LineFramer::drop_keeping_cr(QString &buffer)
{
    if (buffer.endsWith(QLatin1Char('\r')))
        buffer = QStringLiteral("\r");
    else
        buffer.clear();
}

bool LineFramer::take_line(QString &buffer, QString *line)
{
    while (!skipping) {
        const int start = buffer.indexOf(QLatin1Char('$'));
        if (start < 0) {
            buffer.clear();
            return false;
        }
        buffer.remove(0, start);

        const int end = buffer.indexOf(line_end);
        if (end < 0) {
            if (buffer.size() > max_line) {
                skipping = true;
                drop_keeping_cr(buffer);
            }
            return false;
        }

        const bool too_long = end + 2 > max_line;
        if (!too_long)
            *line = buffer.mid(2, end);
        buffer.remove(0, end + 2);
        if (!too_long)
            return true;
    }
    return false;
}

QStringList split_fields(const QString &line)
{
    return line.split(QLatin1Char(' '), Qt::KeepEmptyParts);
}

bool speed_value(const QString &text, double *value)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !qIsFinite(v))
        return false;
    *value = v;
    return true;
}

bool average_step(double &sum, unsigned int &count, unsigned int points, const QString &speed_text,
                  QString *shown)
{
    if (points < 2) {
        *shown = speed_text;
        return true;
    }
    double value;
    if (!speed_value(speed_text, &value))
        return false;
    sum += value;
    ++count;
    if (count < points)
        return false;
    *shown = QString::number(sum / count, 'g', 7);
    count = 0;
    sum = 0.0;
    return true;
}
