// libFuzzer entry: arbitrary bytes in arbitrary chunks through the line framing.
#include "framing_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    check_framing(data, size);
    return 0;
}
