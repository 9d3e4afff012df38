#ifndef SOCKETWAIT_H
#define SOCKETWAIT_H

#include <memory>

// Where the MQTT link's thread waits between turns: until its socket needs
// attention, the timeout passes, or another thread wakes it to take a
// message handed over, at once. Each system has its own implementation under
// platform/.
class SocketWait
{
public:
    SocketWait();
    ~SocketWait();

    SocketWait(const SocketWait &) = delete;
    SocketWait &operator=(const SocketWait &) = delete;

    // False when the system gave no means to wake the thread.
    bool ready() const;
    // From any thread: ends the wait under way, or the next one.
    void wake();
    // Until socket (-1: none) can be read, or written with want_write, a
    // wake(), or timeout_ms (-1: no timeout).
    void wait(int socket, bool want_write, int timeout_ms);

private:
    struct Native;
    const std::unique_ptr<Native> native;
};

#endif
