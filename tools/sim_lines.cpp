#include "sim_lines.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

static const double pi = 3.14159265358979323846;

WaterModel::WaterModel(double base_temperature, std::mt19937 &random)
    : base(base_temperature), phase(std::uniform_real_distribution<double>(0.0, 2.0 * pi)(random)),
      started(std::chrono::steady_clock::now())
{
}

double WaterModel::temperature(std::mt19937 &random) const
{
    const auto since = std::chrono::steady_clock::now() - started;
    const double minutes = std::chrono::duration<double>(since).count() / 60.0;
    const double swing = 0.5 * (std::sin(2.0 * pi * minutes / 10.0 + phase) - std::sin(phase));
    const double noise = std::uniform_real_distribution<double>(-0.003, 0.003)(random);
    return std::round((base + swing + noise) * 1000.0) / 1000.0;
}

bool one_in(int n, std::mt19937 &random)
{
    return std::uniform_int_distribution<int>(1, n)(random) == 1;
}

static std::string fixed3(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string measurement_line(double speed, double temperature, bool with_temperature)
{
    std::string line = "$ " + fixed3(speed);
    if (with_temperature)
        line += " " + fixed3(temperature);
    return line + "\r\n";
}

// An extra field, a doubled blank and a speed that is not a number are
// refused by the terminal; "$_" and no blank after the "$" are not.
std::string malformed_line(double speed, double temperature, bool with_temperature,
                           std::mt19937 &random)
{
    const std::string speed_text = fixed3(speed);
    const std::string rest = with_temperature ? " " + fixed3(temperature) : std::string();
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
    case 0:
        return "$ " + speed_text + " " + fixed3(temperature) + " 35.000\r\n";
    case 1:
        if (with_temperature)
            return "$ " + speed_text + " " + rest + "\r\n";
        return "$  " + speed_text + "\r\n";
    case 2: {
        std::string broken = speed_text;
        broken[1] = 'x';
        return "$ " + broken + rest + "\r\n";
    }
    case 3:
        return "$_" + speed_text + rest + "\r\n";
    default:
        return "$" + speed_text + rest + "\r\n";
    }
}

std::string garbage_bytes(std::mt19937 &random)
{
    static const std::string printable
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,:;!?#%&*+-=/<>";
    std::uniform_int_distribution<size_t> pick(0, printable.size() - 1);
    const int count = std::uniform_int_distribution<int>(1, 24)(random);
    std::string junk;
    for (int i = 0; i < count; ++i)
        junk += one_in(6, random) ? '\0' : printable[pick(random)];
    if (one_in(2, random))
        junk += "\r\n";
    return junk;
}

static bool starts_number(char c)
{
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Optional sign, digits with at most one decimal point, at least one digit.
static bool is_decimal(const std::string &text)
{
    size_t digits = 0;
    bool point = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.' && !point)
            point = true;
        else if (i > 0 || (c != '+' && c != '-'))
            return false;
    }
    return digits > 0 && std::isfinite(std::strtod(text.c_str(), nullptr));
}

bool is_measurement(const std::string &line)
{
    if (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0)
        return false;
    const std::string body = line.substr(0, line.size() - 2);
    const size_t dollar = body.rfind('$');
    if (dollar == std::string::npos)
        return false;
    size_t start = dollar + 1;
    if (start < body.size() && !starts_number(body[start]))
        ++start;

    std::vector<std::string> fields(1);
    for (size_t i = start; i < body.size(); ++i) {
        if (body[i] == ' ')
            fields.emplace_back();
        else
            fields.back() += body[i];
    }
    if (fields.size() > 2)
        return false;
    for (const std::string &field : fields) {
        if (!is_decimal(field))
            return false;
    }
    return true;
}
