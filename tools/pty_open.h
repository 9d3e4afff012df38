#ifndef PTY_OPEN_H
#define PTY_OPEN_H

#include <stddef.h>

// Opens the master side of a new pseudo-terminal, non-blocking, and writes
// the slave's path to slave_path. The slave is made raw once here, so
// whoever opens it later gets the bytes unchanged and no echo. The slave is
// opened and closed once on the way, so the master reports a hang-up until
// someone opens it again and nothing written meanwhile piles up unseen.
// Returns the master's descriptor, or -1 with errno set.
int pty_open(char *slave_path, size_t size);

#endif
