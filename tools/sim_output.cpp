#include "sim_output.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <poll.h>
#include <unistd.h>

SimOutput::SimOutput(int master, bool split, std::mt19937 &random)
    : master(master), split(split), random(random)
{
}

void SimOutput::add_line(const std::string &junk, const std::string &line, bool counted, bool valid)
{
    pending += junk + line;
    if (counted)
        queued.push_back({pending.size(), valid});
}

void SimOutput::flush()
{
    // Taken out first: losing the host while writing empties the queue.
    std::string data;
    std::vector<QueuedLine> lines;
    data.swap(pending);
    lines.swap(queued);
    if (data.empty())
        return;
    const size_t written = write_pieces(data);
    // A line counts only once its last byte is out.
    for (const QueuedLine &line : lines) {
        if (line.end > written)
            break;
        ++(line.valid ? sent.valid : sent.malformed);
    }
}

void SimOutput::reply(const std::string &text)
{
    flush();
    write_all(text.data(), text.size());
}

void SimOutput::set_host_present(bool now_present)
{
    if (now_present == present)
        return;
    present = now_present;
    std::fprintf(stderr, "instrument-sim: host %s\n", present ? "connected" : "disconnected");
    if (!present) {
        pending.clear();
        queued.clear();
    }
}

// Cuts at one to three random places, with a few milliseconds between the
// pieces, as a slow or busy serial link would deliver them. Returns how many
// bytes got out.
size_t SimOutput::write_pieces(const std::string &data)
{
    if (!split || data.size() < 2)
        return write_all(data.data(), data.size());

    std::vector<size_t> cuts;
    const int pieces = std::uniform_int_distribution<int>(2, 4)(random);
    std::uniform_int_distribution<size_t> position(1, data.size() - 1);
    for (int i = 1; i < pieces; ++i)
        cuts.push_back(position(random));
    cuts.push_back(data.size());
    std::sort(cuts.begin(), cuts.end());

    size_t start = 0;
    for (size_t cut : cuts) {
        if (cut <= start)
            continue;
        if (start > 0)
            poll(nullptr, 0, std::uniform_int_distribution<int>(1, 4)(random));
        const size_t written = write_all(data.data() + start, cut - start);
        if (written < cut - start)
            return start + written;
        start = cut;
    }
    return start;
}

size_t SimOutput::write_all(const char *data, size_t size)
{
    size_t done = 0;
    while (present && done < size) {
        const ssize_t count = write(master, data + done, size - done);
        if (count > 0) {
            if (copy)
                std::fwrite(data + done, 1, size_t(count), copy);
            done += size_t(count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EIO)
            set_host_present(false);
        // EAGAIN: the host is not reading. Drop the rest, as a real line would.
        break;
    }
    return done;
}
