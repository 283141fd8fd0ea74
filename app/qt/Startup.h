#pragma once
// Program entry, start-up, the settings load and save, and the quit path.

#include "app/ConfigFile.h"

#include <string>
#include <vector>

// The command line (argument 0 is the program).
extern std::vector<std::string> CommandLine;
// The directory of the program file, with its trailing separator.
extern std::string ProgramDir;

int RunProgram(int argc, char** argv);

// Reads the configuration (creating it first with "/Init") and applies it to
// the windows; ends the program through the fatal box when the file fails.
// Fields out of range take their fresh values; their names are returned for
// the start-up report.
std::vector<std::string> LoadSettings();
// One box that names the fields LoadSettings repaired; nothing when there are none.
void ReportRepairedSettings(const std::vector<std::string>& names);
// Copies the window geometry into the record and writes the file.
SaveOutcome SaveSettings();
// "Quit VOXA 32?"; on "yes" saves, sounds the closing tones and ends the event loop.
void QuitRequest();
