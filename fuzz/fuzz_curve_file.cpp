// Fuzz target: the bytes of a curve file: refused with "Error reading ", or read and drawn
// with both trace computations ending normally or in a guarded fault.
// The properties live in fuzz/InputChecks.h, shared with the replay test.

#include "fuzz/InputChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (const auto problem = CheckCurveFileInput({data, size})) {
        std::fprintf(stderr, "property broken: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
