#include "pty_open.h"

#include <cerrno>
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
