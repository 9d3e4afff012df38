#ifndef WAITS_H
#define WAITS_H

#include "ptypair.h"

#include <QLineEdit>
#include <QTest>

// Writes bytes that complete a measurement line at the master and waits until
// the speed display shows its speed, so the program has dealt with every byte
// written so far.
inline bool write_until_shown(PtyPair &pty, const QLineEdit *speed_display, const QByteArray &bytes,
                              const QString &speed)
{
    return pty.write(bytes)
        && QTest::qWaitFor([&] { return speed_display->text() == speed; }, 5000);
}

// The same for one whole line "$ <speed> 15.000\r\n" (19 bytes for a speed
// such as "1500.000").
inline bool feed_line(PtyPair &pty, const QLineEdit *speed_display, const QString &speed)
{
    return write_until_shown(pty, speed_display, "$ " + speed.toLatin1() + " 15.000\r\n", speed);
}

#endif
