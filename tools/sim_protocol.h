#ifndef SIM_PROTOCOL_H
#define SIM_PROTOCOL_H

#include <string>

// The instrument's side of the configuration dialogue. Bytes typed by the
// host collect into commands, each ended by "\r"; every command but an empty
// one gets a reply line.
class SimProtocol
{
public:
    // Returns the replies to what the bytes completed, each with its "\r\n".
    std::string feed(const char *bytes, size_t count);

    // The host went away: forget a half-typed command and an open question.
    void reset();

    bool temperature_enabled() const { return with_temperature; }

    // Lines per second asked for by "data rate" since the last call, or 0.
    long long take_rate();

private:
    std::string handle(const std::string &text);
    std::string uart_bps(const std::string &value);
    std::string data_rate(const std::string &value);

    std::string command;
    bool with_temperature = true;
    bool asking_to_save = false;
    long long new_rate = 0;
};

#endif
