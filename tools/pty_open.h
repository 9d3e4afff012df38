#ifndef PTY_OPEN_H
#define PTY_OPEN_H

#include <cstddef>
#include <string>

// Opens the master side of a new pseudo-terminal, non-blocking, and writes
// the slave's path to slave_path. The slave is made raw once here, so
// whoever opens it later gets the bytes unchanged and no echo. The slave is
// opened and closed once on the way, so the master reports a hang-up until
// someone opens it again and nothing written meanwhile piles up unseen.
// Returns the master's descriptor, or -1 with errno set.
int pty_open(char *slave_path, size_t size);

// A symbolic link to the slave at link_path, never replacing a file there;
// what went wrong is said on stderr under the program's name.
bool pty_link(const char *program, const std::string &link_path, const char *slave_path);
// Removes the link only if it still leads to this slave.
void pty_unlink(const std::string &link_path, const char *slave_path);

#endif
