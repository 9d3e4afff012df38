// instrument-sim: plays a sound-velocity meter on a pseudo-terminal.
//
// The slave side of the pseudo-terminal stands in for the instrument's
// serial port. Whoever opens it receives measurement lines and can send
// configuration commands, just as with the real device.

#include "pty_open.h"
#include "sim_formats.h"
#include "sim_lines.h"
#include "sim_options.h"
#include "sim_output.h"
#include "sim_protocol.h"
#include "sim_signals.h"
#include "soundspeed.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const Clock::duration idle_step = std::chrono::milliseconds(100); // looking for a host
const Clock::duration exit_grace = std::chrono::milliseconds(250); // host reads the last line

// Waits up to the given time, to the nanosecond rather than the millisecond
// poll() offers, so fast rates keep their pace. A signal cuts it short.
int wait_for(pollfd *fds, nfds_t count, Clock::duration wait)
{
    const long long ns = std::max<long long>(
        0, std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count());
    const timespec timeout = {time_t(ns / 1000000000), long(ns % 1000000000)};
    return ppoll(fds, count, &timeout, nullptr);
}

unsigned seed_from(const SimOptions &options)
{
    if (options.seed >= 0)
        return unsigned(options.seed);
    return unsigned(std::time(nullptr)) ^ unsigned(getpid());
}

class Simulator
{
public:
    Simulator(const SimOptions &options, int master);

    void run();
    const SentCounts &counts() const { return output.counts(); }
    void copy_to(std::FILE *file) { output.copy_to(file); }

private:
    bool wait_for_line();
    void produce_line();
    void read_commands();
    void set_host_present(bool present);
    void set_rate(long long rate);

    const SimOptions &options;
    int master;
    std::mt19937 random;
    WaterModel water;
    SimLineMaker lines;
    SimOutput output;
    SimProtocol protocol;
    Clock::time_point next_line;
    Clock::duration period;
    long long lines_produced = 0;
    bool finished = false;
    bool fragment_due = false; // a host came: it opened the port mid-line
};

Simulator::Simulator(const SimOptions &options, int master)
    : options(options), master(master), random(seed_from(options)),
      water(options.temperature, random), lines(options, random),
      output(master, options.split, random)
{
    set_rate(options.rate);
}

void Simulator::run()
{
    while (!stop_requested && !finished) {
        const Clock::time_point now = Clock::now();
        if (now >= next_line) {
            // Every line that is due, however late the loop got here.
            produce_line();
            next_line += period;
            // After a long stall start afresh rather than firing a backlog.
            if (now - next_line > std::chrono::seconds(1))
                next_line = now + period;
            continue;
        }
        if (!wait_for_line())
            return;
    }

    if (finished) {
        output.flush();
        wait_for(nullptr, 0, exit_grace);
    }
}

// Watches for commands until the next line is due. False on a fatal error.
bool Simulator::wait_for_line()
{
    const Clock::duration wait = next_line - Clock::now();
    pollfd pfd = {master, POLLIN, 0};
    if (wait_for(&pfd, 1, wait) < 0) {
        if (errno == EINTR)
            return true;
        std::fprintf(stderr, "instrument-sim: poll: %s\n", std::strerror(errno));
        return false;
    }
    if (pfd.revents & (POLLHUP | POLLERR)) {
        // Nobody has the device open, and poll will keep saying so at once:
        // step slowly until someone does.
        set_host_present(false);
        wait_for(nullptr, 0, std::min(wait, idle_step));
        return true;
    }
    set_host_present(true);
    if (pfd.revents & POLLIN)
        read_commands();
    return true;
}

void Simulator::produce_line()
{
    // Like a real line with nobody listening. Drawing nothing meanwhile also
    // gives a host the same lines for the same seed, however late it comes.
    if (!output.host_present())
        return;

    std::string junk;
    if (options.garbage && one_in(10, random))
        junk = garbage_bytes(random);
    const bool malformed = options.malformed && one_in(10, random);
    const double temperature = water.temperature(random);
    const double speed = mackenzie_speed(temperature, options.salinity, options.depth);
    if (std::exchange(fragment_due, false)) {
        const SimLine fragment = lines.fragment(speed, temperature);
        output.add_line(fragment.junk, fragment.text, fragment.counted, fragment.valid);
    }
    const SimLine line
        = lines.make(junk, malformed, speed, temperature, protocol.temperature_enabled());
    output.add_line(line.junk, line.text, line.counted, line.valid);
    if (output.queued_lines() >= size_t(options.burst))
        output.flush();

    ++lines_produced;
    if (options.lines > 0 && lines_produced >= options.lines)
        finished = true;
    if (options.hangup_after > 0 && lines_produced >= options.hangup_after)
        finished = true;
}

void Simulator::read_commands()
{
    char buffer[256];
    for (;;) {
        const ssize_t count = read(master, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EIO)
            set_host_present(false);
        if (count <= 0)
            return;

        const std::string replies = protocol.feed(buffer, size_t(count));
        if (!replies.empty())
            output.reply(replies);
        if (const long long rate = protocol.take_rate())
            set_rate(rate);
    }
}

void Simulator::set_host_present(bool present)
{
    if (present && !output.host_present())
        fragment_due = options.start_mid_line;
    output.set_host_present(present);
    if (!present)
        protocol.reset();
}

void Simulator::set_rate(long long rate)
{
    period = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / rate;
    next_line = Clock::now() + period;
}

} // namespace

int main(int argc, char **argv)
{
    if (asks_for_help(argc, argv)) {
        print_usage(stdout);
        return 0;
    }
    SimOptions options;
    if (!parse_options(argc, argv, options)) {
        std::fprintf(stderr, "Try instrument-sim --help\n");
        return 2;
    }

    catch_stop_signals();
    char slave_path[PATH_MAX];
    const int master = pty_open(slave_path, sizeof slave_path);
    if (master < 0) {
        std::fprintf(stderr, "instrument-sim: cannot open a pseudo-terminal: %s\n",
                     std::strerror(errno));
        return 1;
    }
    const bool linked = !options.link_path.empty();
    if (linked && !pty_link("instrument-sim", options.link_path, slave_path)) {
        close(master);
        return 1;
    }
    std::printf("%s\n", slave_path);
    std::fflush(stdout);

    Simulator simulator(options, master);
    std::FILE *copy
        = options.copy_path.empty() ? nullptr : std::fopen(options.copy_path.c_str(), "ab");
    if (!options.copy_path.empty() && !copy) {
        std::fprintf(stderr, "instrument-sim: cannot write %s: %s\n", options.copy_path.c_str(),
                     std::strerror(errno));
        return 1;
    }
    simulator.copy_to(copy);
    simulator.run();

    close(master);
    if (copy)
        std::fclose(copy);
    if (linked)
        pty_unlink(options.link_path, slave_path);
    const SentCounts &sent = simulator.counts();
    std::printf("sent %lld lines: %lld valid, %lld malformed\n", sent.valid + sent.malformed,
                sent.valid, sent.malformed);
    return 0;
}
