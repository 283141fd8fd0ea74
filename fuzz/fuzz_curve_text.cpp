// Fuzz target: the bytes of a curve text as import and the limits of check
// read it: refused in words, or read into sane points that import to a curve
// file the viewer reads. The properties live in fuzz/CurveTextChecks.h, shared
// with the replay test.

#include "fuzz/CurveTextChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (const auto problem = CheckCurveTextInput({data, size})) {
        std::fprintf(stderr, "property broken: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
