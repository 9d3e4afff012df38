#include "probeformat.h"

#include "formatrows.h"

static const char *const names[format_count]
    = {"dollar", "sv", "sv_mm", "p_t_sv", "tagged", "psgds", "pssv", "t_c_s_sv"};
static const char automatic_name[] = "auto";

const char *format_name(FormatId id)
{
    return names[int(id)];
}

bool format_by_name(std::string_view name, FormatId *id)
{
    for (int i = 0; i < format_count; ++i) {
        if (name == names[i]) {
            *id = FormatId(i);
            return true;
        }
    }
    return false;
}

const char *InputFormat::name() const
{
    return automatic ? automatic_name : format_name(format);
}

bool InputFormat::from_name(std::string_view name, InputFormat *input)
{
    FormatId id = FormatId::dollar;
    if (name == automatic_name)
        *input = InputFormat();
    else if (format_by_name(name, &id))
        *input = fixed(id);
    else
        return false;
    return true;
}

const ProbeFormat *line_format(FormatId id)
{
    switch (id) {
    case FormatId::dollar:
        break;
    case FormatId::sv:
        return &sv_format();
    case FormatId::sv_mm:
        return &sv_mm_format();
    case FormatId::p_t_sv:
        return &p_t_sv_format();
    case FormatId::tagged:
        return &tagged_format();
    case FormatId::psgds:
        return &psgds_format();
    case FormatId::pssv:
        return &pssv_format();
    case FormatId::t_c_s_sv:
        return &t_c_s_sv_format();
    }
    return nullptr;
}
