#pragma once
// Where the program runs from and how it was started.

#include <string>
#include <vector>

// The command line (argument 0 is the program).
extern std::vector<std::string> CommandLine;
// The directory of the program file, with its trailing separator; the
// configuration lives there, and the file box lists it for an empty directory.
extern std::string ProgramDir;
