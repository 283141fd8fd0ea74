// Fuzz target: the bytes of a limit text as check and render read it, and
// curves judged against it. The properties live in fuzz/LimitTextChecks.h,
// shared with the replay test.

#include "fuzz/LimitTextChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (const auto problem = CheckLimitTextInput({data, size})) {
        std::fprintf(stderr, "property broken: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
