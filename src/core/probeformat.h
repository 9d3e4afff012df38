#ifndef PROBEFORMAT_H
#define PROBEFORMAT_H

// The line formats of the common sound-velocity probes. Plain C++ without Qt:
// the simulator counts its own lines by these same rules.

#include <cstdint>
#include <limits>
#include <string_view>

// In the order automatic recognition prefers them when two match alike.
enum class FormatId : std::uint8_t { dollar, sv, sv_mm, p_t_sv, tagged, psgds, pssv, t_c_s_sv };
constexpr int format_count = 8;

// The machine token of a format, as options, the CSV log and MQTT use it;
// never translated. All formats: FormatId(0) to FormatId(format_count - 1).
const char *format_name(FormatId id);
bool format_by_name(std::string_view name, FormatId *id);

// The input format setting: recognised from the lines (the default) or one
// format by name. Its token is "auto" or the format's.
struct InputFormat
{
    bool automatic = true;
    FormatId format = FormatId::dollar; // when not automatic

    static InputFormat fixed(FormatId id) { return {false, id}; }
    const char *name() const;
    static bool from_name(std::string_view name, InputFormat *input);
    bool operator==(const InputFormat &other) const
    {
        return automatic == other.automatic && (automatic || format == other.format);
    }
    bool operator!=(const InputFormat &other) const { return !(*this == other); }
};

// What one line says. Texts point into the line; a value the format does not
// carry stays NaN.
struct LineValues
{
    static constexpr double none = std::numeric_limits<double>::quiet_NaN();
    std::string_view speed_text, temperature_text; // temperature_text empty: none
    int speed_shift = 0; // speed_text counts 10^-speed_shift m/s (sv_mm's mm/s: 3)
    double speed = 0; // m/s
    double temperature = none, pressure_dbar = none, depth_m = none;
    double conductivity = none, salinity = none, density = none; // mS/cm, PSU, kg/m3
};

enum class LineMatch { no, bad_checksum, yes };

// One format framed by its line end. read() takes the line without its line
// end; bad_checksum means the line has the format's shape but its checksum
// does not match (values are filled then too).
class ProbeFormat
{
public:
    virtual ~ProbeFormat() = default;
    virtual FormatId id() const = 0;
    virtual LineMatch read(std::string_view line, LineValues &values) const = 0;
};

// The format that reads lines of id; nullptr for dollar, which is framed by
// its "$" (MeasurementStream::parse reads it).
const ProbeFormat *line_format(FormatId id);

#endif
