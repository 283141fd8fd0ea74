// Fuzz target: the bytes of a partial of voxacurve stats as a merge reads
// them, guided past the checksum: refused in words, or sound through and
// through. The properties live in fuzz/PartialChecks.h, shared with the
// replay test.

#include "fuzz/PartialChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (const auto problem = CheckStatsPartialInput({data, size})) {
        std::fprintf(stderr, "property broken: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
