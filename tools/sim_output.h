#ifndef SIM_OUTPUT_H
#define SIM_OUTPUT_H

#include <cstdio>
#include <random>
#include <string>
#include <vector>

struct SentCounts
{
    long long valid = 0;
    long long malformed = 0;
};

// Everything written to the host goes through here: lines held back for a
// burst, writes cut into pieces, and the count of lines that got through.
class SimOutput
{
public:
    SimOutput(int master, bool split, std::mt19937 &random);

    // Queues one line, and any junk before it, to go out with the next
    // flush; once out, counted as valid or not unless it is no line for the
    // terminal.
    void add_line(const std::string &junk, const std::string &line, bool counted, bool valid);
    size_t queued_lines() const { return queued.size(); }
    void flush();

    // Finishes the queued lines first, so a reply never lands inside a line.
    void reply(const std::string &text);

    bool host_present() const { return present; }
    void set_host_present(bool present);

    const SentCounts &counts() const { return sent; }
    // Every byte the host got is also written there (not owned).
    void copy_to(std::FILE *file) { copy = file; }

private:
    struct QueuedLine
    {
        size_t end; // offset just past its "\r\n" in pending
        bool valid;
    };

    size_t write_pieces(const std::string &data);
    size_t write_all(const char *data, size_t size);

    int master;
    bool split;
    std::mt19937 &random;
    bool present = false;
    std::string pending;
    std::vector<QueuedLine> queued;
    SentCounts sent;
    std::FILE *copy = nullptr;
};

#endif
