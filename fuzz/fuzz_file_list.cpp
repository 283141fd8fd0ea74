// Fuzz target: the bytes of a file list as voxacurve --files-from reads it:
// refused in words or split into sound names. The properties live in
// fuzz/FileListChecks.h, shared with the replay test.

#include "fuzz/FileListChecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (const auto problem = CheckFileListInput({data, size})) {
        std::fprintf(stderr, "property broken: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
