// "1483.576 M/SEC 0010.122 M 0021.291 C 0000.142 MS/CM": each value followed
// by its unit, any of them, in any order; the speed must be there.
#include "formatrows.h"
#include "linefields.h"

namespace {

const double metres_per_foot = 0.3048;

enum Quantity { speed, depth, pressure, temperature, conductivity, quantity_count };

struct Unit
{
    const char *tag;
    Quantity quantity;
    double scale; // to the unit kept
};

const Unit units[] = {
    {"M/SEC", speed, 1},   {"M", depth, 1},       {"F", depth, metres_per_foot},
    {"DBAR", pressure, 1}, {"C", temperature, 1}, {"MS/CM", conductivity, 1},
};

const Unit *find_unit(std::string_view tag)
{
    for (const Unit &unit : units) {
        if (same_letters(tag, unit.tag))
            return &unit;
    }
    return nullptr;
}

class TaggedFormat : public ProbeFormat
{
public:
    FormatId id() const override { return FormatId::tagged; }
    LineMatch read(std::string_view line, LineValues &values) const override
    {
        const int max_words = 2 * quantity_count;
        std::string_view words[max_words];
        const int count = split_words(line, words, max_words);
        if (count > max_words || count % 2 != 0)
            return LineMatch::no;
        bool seen[quantity_count] = {};
        double *targets[quantity_count] = {&values.speed, &values.depth_m, &values.pressure_dbar,
                                           &values.temperature, &values.conductivity};
        for (int i = 0; i < count; i += 2) {
            const Unit *unit = find_unit(words[i + 1]);
            double value = 0;
            if (!unit || seen[unit->quantity] || !read_decimal(words[i], &value))
                return LineMatch::no;
            seen[unit->quantity] = true;
            *targets[unit->quantity] = value * unit->scale;
            if (unit->quantity == speed)
                values.speed_text = words[i];
            else if (unit->quantity == temperature)
                values.temperature_text = words[i];
        }
        return seen[speed] ? LineMatch::yes : LineMatch::no;
    }
};

} // namespace

const ProbeFormat &tagged_format()
{
    static const TaggedFormat format;
    return format;
}
