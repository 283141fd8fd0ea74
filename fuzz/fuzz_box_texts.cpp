// Fuzz target: the texts of the file box on a real directory (extension,
// typed name, names of files made in a temporary directory) and of the
// message box (the same texts as its lines).
// The properties live in fuzz/BoxTextChecks.h, shared with the replay test.

#include "fuzz/BoxTextChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (const auto problem = CheckBoxTextsInput({data, size})) {
        std::fprintf(stderr, "property broken: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
