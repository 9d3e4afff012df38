#include "socketsend.h"

#include <sys/socket.h>

qint64 socket_send_now(qintptr descriptor, const char *data, qint64 size)
{
    return ::send(int(descriptor), data, size_t(size), MSG_DONTWAIT | MSG_NOSIGNAL);
}
