#pragma once
// Ending the program at once, and the out-of-memory alert.

#include "app/qt/ProgramEnd.h"

#include <cstddef>

// A zeroed block of size + 2 bytes; on failure the out-of-memory alert ends
// the program.
void* AllocBlock(std::size_t size);

// Hides the box, sounds 1200 Hz for 1000 ms, shows "Out Of Memory!" and ends the program.
[[noreturn]] void OutOfMemoryAlert();
