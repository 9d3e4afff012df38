// instrument-sim: plays a sound-velocity meter on a pseudo-terminal.
//
// The slave side of the pseudo-terminal stands in for the instrument's
// serial port. Whoever opens it receives measurement lines and can send
// configuration commands, just as with the real device.

#include "mackenzie.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const int IdleStepMs = 100; // how often to look for a host when none is there
const int ExitGraceMs = 250; // lets the host read the last line before we hang up
const size_t MaxCommandLength = 200;
const double Pi = 3.14159265358979323846;

struct Options
{
    long long rate = 8;
    double salinity = 35.0;
    double depth = 0.0;
    double temperature = 15.0;
    long long seed = -1;
    std::string linkPath;
    bool split = false;
    long long burst = 1;
    bool garbage = false;
    bool malformed = false;
    long long hangupAfter = 0;
    long long lines = 0;
};

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int)
{
    stopRequested = 1;
}

void printUsage(FILE *out)
{
    std::fprintf(out,
                 "Usage: instrument-sim [options]\n"
                 "\n"
                 "Simulates a sound-velocity meter on a pseudo-terminal. The first line\n"
                 "printed is the device path to open; diagnostics go to stderr.\n"
                 "\n"
                 "Options:\n"
                 "  --link PATH          also create a symbolic link PATH to the device\n"
                 "                       (never replaces an existing file; removed on exit)\n"
                 "  --rate N             lines per second, 1-30 (default 8)\n"
                 "  --salinity S         salinity in PSU (default 35)\n"
                 "  --depth D            depth in metres (default 0)\n"
                 "  --temperature T      starting water temperature in degC (default 15)\n"
                 "  --seed N             random seed (default: from the clock)\n"
                 "  --lines N            exit after sending N lines\n"
                 "  --hangup-after N     close the device after sending N lines\n"
                 "\n"
                 "Fault injection:\n"
                 "  --split              write each line in several pieces\n"
                 "  --burst N            write N lines at a time\n"
                 "  --garbage            now and then send junk bytes between lines\n"
                 "  --malformed          now and then send a malformed line\n"
                 "\n"
                 "  --help               show this text\n");
}

bool parseInteger(const std::string &text, long long min, long long max, long long &value)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

bool parseReal(const std::string &text, double min, double max, double &value)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    double parsed = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(parsed) || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

bool parseOptions(int argc, char **argv, Options &options)
{
    const std::vector<std::string> valueOptions
        = {"--link", "--rate",  "--salinity",     "--depth", "--temperature",
           "--seed", "--lines", "--hangup-after", "--burst"};

    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        bool inlineValue = false;
        size_t equals = name.find('=');
        if (name.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            inlineValue = true;
        }

        if (!inlineValue) {
            if (name == "--split") {
                options.split = true;
                continue;
            }
            if (name == "--garbage") {
                options.garbage = true;
                continue;
            }
            if (name == "--malformed") {
                options.malformed = true;
                continue;
            }
        }

        bool known = false;
        for (const std::string &option : valueOptions)
            known = known || option == name;
        if (!known) {
            std::fprintf(stderr, "instrument-sim: unknown option %s\n", argv[i]);
            return false;
        }
        if (!inlineValue) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "instrument-sim: %s needs a value\n", name.c_str());
                return false;
            }
            value = argv[++i];
        }

        bool ok = true;
        if (name == "--link") {
            options.linkPath = value;
            ok = !value.empty();
        } else if (name == "--rate") {
            ok = parseInteger(value, 1, 30, options.rate);
        } else if (name == "--salinity") {
            ok = parseReal(value, 0.0, 50.0, options.salinity);
        } else if (name == "--depth") {
            ok = parseReal(value, 0.0, 12000.0, options.depth);
        } else if (name == "--temperature") {
            ok = parseReal(value, -5.0, 40.0, options.temperature);
        } else if (name == "--seed") {
            ok = parseInteger(value, 0, 4294967295LL, options.seed);
        } else if (name == "--lines") {
            ok = parseInteger(value, 1, LLONG_MAX, options.lines);
        } else if (name == "--hangup-after") {
            ok = parseInteger(value, 1, LLONG_MAX, options.hangupAfter);
        } else if (name == "--burst") {
            ok = parseInteger(value, 1, 100, options.burst);
        }
        if (!ok) {
            std::fprintf(stderr, "instrument-sim: invalid value \"%s\" for %s\n", value.c_str(),
                         name.c_str());
            return false;
        }
    }
    return true;
}

void sleepMs(int ms)
{
    poll(nullptr, 0, ms);
}

// Returns the non-blocking master, or -1. The slave is made raw here once,
// so whoever opens it later gets the bytes unchanged and no echo.
int openPseudoTerminal(std::string &slavePath)
{
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        std::fprintf(stderr, "instrument-sim: posix_openpt: %s\n", std::strerror(errno));
        return -1;
    }
    if (grantpt(master) != 0 || unlockpt(master) != 0) {
        std::fprintf(stderr, "instrument-sim: cannot unlock the pseudo-terminal: %s\n",
                     std::strerror(errno));
        close(master);
        return -1;
    }
    const char *name = ptsname(master);
    if (!name) {
        std::fprintf(stderr, "instrument-sim: ptsname: %s\n", std::strerror(errno));
        close(master);
        return -1;
    }
    slavePath = name;

    int slave = open(name, O_RDWR | O_NOCTTY);
    if (slave < 0) {
        std::fprintf(stderr, "instrument-sim: cannot open %s: %s\n", name, std::strerror(errno));
        close(master);
        return -1;
    }
    termios settings;
    if (tcgetattr(slave, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(slave, TCSANOW, &settings);
    }
    close(slave);

    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return master;
}

std::vector<std::string> splitWords(const std::string &text)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += char(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

bool isDigits(const std::string &text)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

class Simulator
{
public:
    Simulator(const Options &options, int master);

    void run();

private:
    void produceLine();
    void flushPending();
    std::string measurementLine();
    std::string malformedLine();
    std::string garbageBytes();
    double currentTemperature();

    void readCommands();
    void handleCommand(const std::string &command);
    void reply(const std::string &text);

    void writeData(const std::string &data);
    void send(const std::string &data);
    void setHostPresent(bool present);
    void setRate(long long rate);
    bool chance(int oneIn);

    Options options;
    int master;
    std::mt19937 random;
    Clock::time_point started;
    Clock::time_point nextLine;
    Clock::duration period;
    double phase = 0.0;
    bool hostPresent = false;
    bool temperatureEnabled = true;
    bool askingToSave = false;
    bool finished = false;
    std::string command;
    std::string pending;
    long long pendingLines = 0;
    long long linesSent = 0;
};

Simulator::Simulator(const Options &options, int master) : options(options), master(master)
{
    unsigned seed = options.seed >= 0 ? unsigned(options.seed)
                                      : unsigned(std::time(nullptr)) ^ unsigned(getpid());
    random.seed(seed);
    phase = std::uniform_real_distribution<double>(0.0, 2.0 * Pi)(random);
    started = Clock::now();
    setRate(options.rate);
}

void Simulator::run()
{
    while (!stopRequested && !finished) {
        Clock::time_point now = Clock::now();
        if (now >= nextLine) {
            produceLine();
            nextLine += period;
            // After a long stall start afresh rather than firing a backlog.
            if (now - nextLine > std::chrono::seconds(1))
                nextLine = now + period;
            continue;
        }

        auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextLine - now);
        int timeout = int(wait.count());
        pollfd pfd = {master, POLLIN, 0};
        int ready = poll(&pfd, 1, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "instrument-sim: poll: %s\n", std::strerror(errno));
            return;
        }
        if (pfd.revents & POLLIN)
            readCommands();
        if (pfd.revents & (POLLHUP | POLLERR)) {
            // Nobody has the device open, and poll will keep saying so at
            // once: step slowly until someone does.
            setHostPresent(false);
            sleepMs(std::min(timeout, IdleStepMs));
        } else {
            setHostPresent(true);
        }
    }

    if (finished) {
        flushPending();
        sleepMs(ExitGraceMs);
    }
}

void Simulator::produceLine()
{
    std::string data;
    if (options.garbage && chance(10))
        data += garbageBytes();
    if (options.malformed && chance(10))
        data += malformedLine();
    else
        data += measurementLine();

    if (!hostPresent)
        return; // like a real line with nobody listening

    pending += data;
    ++pendingLines;
    if (pendingLines >= options.burst)
        flushPending();

    ++linesSent;
    if (options.lines > 0 && linesSent >= options.lines)
        finished = true;
    if (options.hangupAfter > 0 && linesSent >= options.hangupAfter)
        finished = true;
}

void Simulator::flushPending()
{
    if (!pending.empty())
        writeData(pending);
    pending.clear();
    pendingLines = 0;
}

std::string Simulator::measurementLine()
{
    double temperature = currentTemperature();
    double speed = mackenzie_speed(temperature, options.salinity, options.depth);
    char line[64];
    if (temperatureEnabled)
        std::snprintf(line, sizeof line, "$ %.3f %.3f\r\n", speed, temperature);
    else
        std::snprintf(line, sizeof line, "$ %.3f\r\n", speed);
    return line;
}

// The kinds of damage a parser should survive: an extra field, a doubled
// blank, a speed that is not a number, and no blank after the "$".
std::string Simulator::malformedLine()
{
    double temperature = currentTemperature();
    double speed = mackenzie_speed(temperature, options.salinity, options.depth);
    char speedText[32];
    char temperatureText[32];
    std::snprintf(speedText, sizeof speedText, "%.3f", speed);
    std::snprintf(temperatureText, sizeof temperatureText, "%.3f", temperature);
    std::string rest = temperatureEnabled ? std::string(" ") + temperatureText : std::string();

    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0:
        return std::string("$ ") + speedText + " " + temperatureText + " 35.000\r\n";
    case 1:
        if (temperatureEnabled)
            return std::string("$ ") + speedText + "  " + temperatureText + "\r\n";
        return std::string("$  ") + speedText + "\r\n";
    case 2: {
        std::string broken = speedText;
        broken[1] = 'x';
        return "$ " + broken + rest + "\r\n";
    }
    default:
        return std::string("$_") + speedText + rest + "\r\n";
    }
}

std::string Simulator::garbageBytes()
{
    const std::string printable
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,:;!?#%&*+-=/<>";
    std::uniform_int_distribution<size_t> pick(0, printable.size() - 1);
    int count = std::uniform_int_distribution<int>(1, 24)(random);
    std::string junk;
    for (int i = 0; i < count; ++i) {
        if (chance(6))
            junk += '\0';
        else
            junk += printable[pick(random)];
    }
    if (chance(2))
        junk += "\r\n";
    return junk;
}

// A slow swing of half a degree over ten minutes, as water layers drift
// past the sensor, plus a little sensor noise. Rounded to what is printed,
// so the speed on a line matches the temperature on it.
double Simulator::currentTemperature()
{
    double minutes = std::chrono::duration<double>(Clock::now() - started).count() / 60.0;
    double swing = 0.5 * (std::sin(2.0 * Pi * minutes / 10.0 + phase) - std::sin(phase));
    double noise = std::uniform_real_distribution<double>(-0.003, 0.003)(random);
    return std::round((options.temperature + swing + noise) * 1000.0) / 1000.0;
}

void Simulator::readCommands()
{
    char buffer[256];
    for (;;) {
        ssize_t count = read(master, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EIO)
            setHostPresent(false);
        if (count <= 0)
            return;

        for (ssize_t i = 0; i < count; ++i) {
            char c = buffer[i];
            if (c == '\n')
                continue;
            if (c == '\r') {
                handleCommand(command);
                command.clear();
            } else if (command.size() < MaxCommandLength) {
                command += c;
            }
        }
    }
}

void Simulator::handleCommand(const std::string &text)
{
    if (!text.empty())
        std::fprintf(stderr, "instrument-sim: command \"%s\"\n", text.c_str());
    std::vector<std::string> words = splitWords(text);

    if (askingToSave) {
        askingToSave = false;
        if (words.size() == 1 && words[0] == "y")
            reply("Configuration saved");
        else
            reply("Configuration not saved");
        return;
    }

    if (words.empty())
        return;

    if (words.size() == 3 && words[0] == "uart" && words[1] == "bps") {
        const std::vector<std::string> rates
            = {"2400", "4800", "9600", "19200", "38400", "57600", "115200"};
        long long bps = 0;
        bool standard = false;
        if (isDigits(words[2]) && parseInteger(words[2], 1, 1000000, bps)) {
            for (const std::string &rate : rates)
                standard = standard || std::to_string(bps) == rate;
        }
        // A pseudo-terminal has no baud rate, so acknowledging is all there is.
        if (standard)
            reply("OK uart bps " + std::to_string(bps));
        else
            reply("ERR uart bps must be 2400, 4800, 9600, 19200, 38400, 57600 or 115200");
        return;
    }

    if (words.size() == 3 && words[0] == "data" && words[1] == "rate") {
        long long rate = 0;
        if (isDigits(words[2]) && parseInteger(words[2], 1, 30, rate)) {
            setRate(rate);
            reply("OK data rate " + std::to_string(rate));
        } else {
            reply("ERR data rate must be 1-30");
        }
        return;
    }

    if (words.size() == 3 && words[0] == "water" && words[1] == "temp") {
        if (words[2] == "enable") {
            temperatureEnabled = true;
            reply("OK water temp enable");
            return;
        }
        if (words[2] == "disable") {
            temperatureEnabled = false;
            reply("OK water temp disable");
            return;
        }
    }

    if (words.size() == 1 && words[0] == "done") {
        askingToSave = true;
        reply("Save configuration? (y/n)");
        return;
    }

    reply("ERR unknown command");
}

void Simulator::reply(const std::string &text)
{
    // Finish any lines held back by --burst first, so a reply never lands
    // inside a line.
    flushPending();
    send(text + "\r\n");
}

void Simulator::writeData(const std::string &data)
{
    if (!options.split || data.size() < 2) {
        send(data);
        return;
    }

    // Cut at one to three random places, with a few milliseconds between
    // the pieces, as a slow or busy serial link would deliver them.
    std::vector<size_t> cuts;
    int pieces = std::uniform_int_distribution<int>(2, 4)(random);
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
            sleepMs(std::uniform_int_distribution<int>(1, 4)(random));
        send(data.substr(start, cut - start));
        start = cut;
    }
}

void Simulator::send(const std::string &data)
{
    if (!hostPresent)
        return;
    size_t done = 0;
    while (done < data.size()) {
        ssize_t count = write(master, data.data() + done, data.size() - done);
        if (count > 0) {
            done += size_t(count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EIO)
            setHostPresent(false);
        // EAGAIN: the host is not reading. Drop the rest, as a real line would.
        return;
    }
}

void Simulator::setHostPresent(bool present)
{
    if (present == hostPresent)
        return;
    hostPresent = present;
    if (present) {
        std::fprintf(stderr, "instrument-sim: host connected\n");
    } else {
        std::fprintf(stderr, "instrument-sim: host disconnected\n");
        command.clear();
        pending.clear();
        pendingLines = 0;
        askingToSave = false;
    }
}

void Simulator::setRate(long long rate)
{
    period = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / rate;
    nextLine = Clock::now() + period;
}

bool Simulator::chance(int oneIn)
{
    return std::uniform_int_distribution<int>(1, oneIn)(random) == 1;
}

// Removes the link only if it is still ours.
void removeLink(const std::string &linkPath, const std::string &slavePath)
{
    char target[PATH_MAX];
    ssize_t length = readlink(linkPath.c_str(), target, sizeof target - 1);
    if (length < 0)
        return;
    target[length] = '\0';
    if (slavePath == target)
        unlink(linkPath.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage(stdout);
            return 0;
        }
    }

    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "Try instrument-sim --help\n");
        return 2;
    }

    // Catch the signals before a link exists, so it is always cleaned up.
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::string slavePath;
    int master = openPseudoTerminal(slavePath);
    if (master < 0)
        return 1;

    if (!options.linkPath.empty() && symlink(slavePath.c_str(), options.linkPath.c_str()) != 0) {
        if (errno == EEXIST)
            std::fprintf(stderr, "instrument-sim: %s already exists, not replacing it\n",
                         options.linkPath.c_str());
        else
            std::fprintf(stderr, "instrument-sim: cannot create link %s: %s\n",
                         options.linkPath.c_str(), std::strerror(errno));
        close(master);
        return 1;
    }

    std::printf("%s\n", slavePath.c_str());
    std::fflush(stdout);

    Simulator simulator(options, master);
    simulator.run();

    close(master);
    if (!options.linkPath.empty())
        removeLink(options.linkPath, slavePath);
    return 0;
}
