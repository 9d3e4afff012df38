#ifndef SOCKETSEND_H
#define SOCKETSEND_H

#include <QtGlobal>

// Sends on a connected TCP socket without blocking and without the process
// being signalled when the peer has gone: the count the system took, or -1
// when it took none. Each system has its own implementation under platform/.
qint64 socket_send_now(qintptr descriptor, const char *data, qint64 size);

#endif
