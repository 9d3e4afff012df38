#include "signalwatch.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

static int pipe_fds[2] = {-1, -1};

static void on_signal(int number)
{
    const char byte = char(number);
    const ssize_t written = ::write(pipe_fds[1], &byte, 1);
    (void)written; // a full pipe already holds a wake-up
}

SignalWatch::SignalWatch(QObject *parent) : QObject(parent)
{
    if (pipe_fds[0] < 0 && ::pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(pipe_fds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        ssize_t count;
        while ((count = ::read(pipe_fds[0], bytes, sizeof bytes)) > 0) {
            for (ssize_t i = 0; i < count; ++i)
                emit received(int(bytes[i]));
        }
    });

    struct sigaction action = {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        sigaction(number, &action, nullptr);
}

SignalWatch::~SignalWatch()
{
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        std::signal(number, SIG_DFL);
}
