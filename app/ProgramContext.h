#pragma once
// Where the program runs from and how it was started.

#include "app/ConfigLocation.h"

#include <string>
#include <vector>

// The command line (argument 0 is the program).
extern std::vector<std::string> CommandLine;
// The directory of the program file, with its trailing separator; the
// configuration lives there where the user may write it, and the file box
// lists it for an empty directory (see ConfigLocation.h for an installed program).
extern std::string ProgramDir;
// Where the start-up read the configuration and where a save writes it.
extern ConfigLocation SettingsLocation;
