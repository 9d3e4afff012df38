#include "gnss_sink.h"

#include "pty_open.h"

#include <cerrno>
#include <cstdio>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

bool GnssSink::open(const GnssOptions &options)
{
    out = options.to_stdout;
    udp = options.udp_port > 0;
    if (out)
        return true;
    if (udp) {
        fd = socket(AF_INET, SOCK_DGRAM, 0);
        target.sin_family = AF_INET;
        target.sin_port = htons(uint16_t(options.udp_port));
        target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return fd >= 0;
    }
    fd = pty_open(slave_path, sizeof slave_path);
    return fd >= 0;
}

GnssSink::~GnssSink()
{
    if (fd >= 0)
        close(fd);
}

bool GnssSink::host_present()
{
    if (out || udp)
        return true;
    char discard[256];
    pollfd pfd = {fd, POLLIN, 0};
    if (poll(&pfd, 1, 0) > 0 && (pfd.revents & POLLIN))
        while (read(fd, discard, sizeof discard) > 0) { }
    return !(pfd.revents & (POLLHUP | POLLERR));
}

bool GnssSink::send(const std::string &data)
{
    if (out)
        return std::fwrite(data.data(), 1, data.size(), stdout) == data.size()
            && std::fflush(stdout) == 0;
    if (udp)
        return sendto(fd, data.data(), data.size(), 0, reinterpret_cast<sockaddr *>(&target),
                      sizeof target)
            == ssize_t(data.size());
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        pollfd pfd = {fd, POLLOUT, 0};
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (poll(&pfd, 1, 1000) <= 0 || (pfd.revents & (POLLHUP | POLLERR)))
            return false;
    }
    return true;
}
