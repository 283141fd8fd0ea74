// Fuzz target: the bytes of a statistics CSV as render --band reads it:
// refused in words, or read into a table of values a measurement holds
// whose band cuts to the data window in finite points. The properties live
// in fuzz/StatsCsvChecks.h, shared with the replay test.

#include "fuzz/StatsCsvChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (const auto problem = CheckStatsCsvInput({data, size})) {
        std::fprintf(stderr, "property broken: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
