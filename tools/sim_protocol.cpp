#include "sim_protocol.h"

#include "sim_options.h"

#include <cctype>
#include <cstdio>
#include <vector>

static const size_t max_command_length = 200;

static std::vector<std::string> split_words(const std::string &text)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : text + ' ') {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += char(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return words;
}

// Plain digits only: no sign, blank or "0x" that strtoll would let through.
static bool parse_count(const std::string &text, long long min, long long max, long long &value)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return parse_integer(text, min, max, value);
}

std::string SimProtocol::feed(const char *bytes, size_t count)
{
    std::string replies;
    for (size_t i = 0; i < count; ++i) {
        const char c = bytes[i];
        if (c == '\n')
            continue;
        if (c == '\r') {
            replies += handle(command);
            command.clear();
        } else if (command.size() < max_command_length) {
            command += c;
        }
    }
    return replies;
}

void SimProtocol::reset()
{
    command.clear();
    asking_to_save = false;
}

long long SimProtocol::take_rate()
{
    const long long rate = new_rate;
    new_rate = 0;
    return rate;
}

std::string SimProtocol::handle(const std::string &text)
{
    if (!text.empty())
        std::fprintf(stderr, "instrument-sim: command \"%s\"\n", text.c_str());
    const std::vector<std::string> words = split_words(text);

    if (asking_to_save) {
        asking_to_save = false;
        const bool yes = words.size() == 1 && words[0] == "y";
        return yes ? "Configuration saved\r\n" : "Configuration not saved\r\n";
    }
    if (words.empty())
        return std::string();
    if (words.size() == 3 && words[0] == "uart" && words[1] == "bps")
        return uart_bps(words[2]);
    if (words.size() == 3 && words[0] == "data" && words[1] == "rate")
        return data_rate(words[2]);
    if (words.size() == 3 && words[0] == "water" && words[1] == "temp"
        && (words[2] == "enable" || words[2] == "disable")) {
        with_temperature = words[2] == "enable";
        return "OK water temp " + words[2] + "\r\n";
    }
    if (words.size() == 1 && words[0] == "done") {
        asking_to_save = true;
        return "Save configuration? (y/n)\r\n";
    }
    return "ERR unknown command\r\n";
}

// A pseudo-terminal has no baud rate, so acknowledging is all there is.
std::string SimProtocol::uart_bps(const std::string &value)
{
    long long bps = 0;
    if (parse_count(value, 1, 1000000, bps)) {
        for (long long standard : {2400, 4800, 9600, 19200, 38400, 57600, 115200}) {
            if (bps == standard)
                return "OK uart bps " + std::to_string(bps) + "\r\n";
        }
    }
    return "ERR uart bps must be 2400, 4800, 9600, 19200, 38400, 57600 or 115200\r\n";
}

std::string SimProtocol::data_rate(const std::string &value)
{
    long long rate = 0;
    if (!parse_count(value, 1, 30, rate))
        return "ERR data rate must be 1-30\r\n";
    new_rate = rate;
    return "OK data rate " + std::to_string(rate) + "\r\n";
}
