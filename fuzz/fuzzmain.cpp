#include "fuzzentries.h"

// ORV_FUZZ_ENTRY names the entry of this target (see CMakeLists.txt).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return OrvQtLib::Fuzz::ORV_FUZZ_ENTRY(data, size);
}
