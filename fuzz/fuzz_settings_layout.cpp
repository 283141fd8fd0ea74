// Fuzz target: the bytes of VOXA32VW.CFG: read, unscrambled, and the layout, labels, grid,
// traces, colours and texts computed from the record.
// The properties live in fuzz/InputChecks.h, shared with the replay test.

#include "fuzz/InputChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (const auto problem = CheckSettingsInput({data, size})) {
        std::fprintf(stderr, "property broken: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
