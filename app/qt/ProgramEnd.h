#pragma once
// Ending the program at once from anywhere inside a handler.

// Thrown to end the program at once with exit code 0, saving nothing.
struct ProgramEnd {
};

[[noreturn]] inline void EndProgram()
{
    throw ProgramEnd {};
}
