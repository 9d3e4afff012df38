#include "serialqueue.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

qint64 serial_queued_bytes(qintptr handle)
{
    int queued = 0;
    if (::ioctl(int(handle), TIOCOUTQ, &queued) != 0)
        return 0;
    return queued;
}

qint64 serial_write_direct(qintptr handle, const char *data, qint64 size)
{
    return ::write(int(handle), data, size_t(size));
}
