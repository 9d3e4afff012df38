#ifndef SERIALQUEUE_H
#define SERIALQUEUE_H

#include <QtGlobal>

// A serial output's way to the driver below Qt's buffer: a sentence costs
// one system call and no turn of the event loop, and what the driver still
// holds for the line is known. Each system has its own implementation under
// platform/. The handle is QSerialPort::handle()'s, an int or a HANDLE.

// Bytes the driver holds for the port, not yet on the line; 0 when none or
// when the system cannot tell.
qint64 serial_queued_bytes(qintptr handle);

// Writes straight to the open device (Qt opened it not to block): the count the driver
// took, or -1 when it took none. Qt's own write takes what is left.
qint64 serial_write_direct(qintptr handle, const char *data, qint64 size);

#endif
