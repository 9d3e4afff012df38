#include "socketwait.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

struct SocketWait::Native
{
    int wake_fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
};

SocketWait::SocketWait() : native(std::make_unique<Native>()) { }

SocketWait::~SocketWait()
{
    if (native->wake_fd >= 0)
        close(native->wake_fd);
}

bool SocketWait::ready() const
{
    return native->wake_fd >= 0;
}

void SocketWait::wake()
{
    if (native->wake_fd >= 0)
        eventfd_write(native->wake_fd, 1);
}

void SocketWait::wait(int socket, bool want_write, int timeout_ms)
{
    pollfd fds[2] = {{native->wake_fd, POLLIN, 0}, {-1, 0, 0}};
    nfds_t count = 1;
    if (socket >= 0) {
        fds[1] = {socket, short(POLLIN | (want_write ? POLLOUT : 0)), 0};
        count = 2;
    }
    if (poll(fds, count, timeout_ms) > 0 && (fds[0].revents & POLLIN)) {
        eventfd_t value;
        eventfd_read(native->wake_fd, &value);
    }
}
