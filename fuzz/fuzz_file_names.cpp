// Fuzz target: the texts of the file box (edit field, zero byte, extension): the chosen
// name, masks, program directory, column edges and size texts.
// The properties live in fuzz/FileNameChecks.h, shared with the replay test.

#include "fuzz/FileNameChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (const auto problem = CheckFileNameInput({data, size})) {
        std::fprintf(stderr, "property broken: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
