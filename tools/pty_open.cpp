#include "pty_open.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

static int fail(int master)
{
    const int saved = errno;
    close(master);
    errno = saved;
    return -1;
}

int pty_open(char *slave_path, size_t size)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0)
        return -1;
    if (grantpt(master) != 0 || unlockpt(master) != 0)
        return fail(master);
    const int name_error = ptsname_r(master, slave_path, size);
    if (name_error != 0) {
        errno = name_error;
        return fail(master);
    }

    const int slave = open(slave_path, O_RDWR | O_NOCTTY);
    if (slave < 0)
        return fail(master);
    termios settings;
    if (tcgetattr(slave, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(slave, TCSANOW, &settings);
    }
    close(slave);
    return master;
}

bool pty_link(const char *program, const std::string &link_path, const char *slave_path)
{
    if (symlink(slave_path, link_path.c_str()) == 0)
        return true;
    if (errno == EEXIST)
        std::fprintf(stderr, "%s: %s already exists, not replacing it\n", program,
                     link_path.c_str());
    else
        std::fprintf(stderr, "%s: cannot create link %s: %s\n", program, link_path.c_str(),
                     std::strerror(errno));
    return false;
}

void pty_unlink(const std::string &link_path, const char *slave_path)
{
    char target[PATH_MAX];
    const ssize_t length = readlink(link_path.c_str(), target, sizeof target - 1);
    if (length < 0)
        return;
    target[length] = '\0';
    if (std::strcmp(slave_path, target) == 0)
        unlink(link_path.c_str());
}
