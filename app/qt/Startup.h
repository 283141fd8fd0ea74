#pragma once
// Program entry, start-up and the settings load.

#include "app/ProgramContext.h"

#include <string>
#include <vector>

int RunProgram(int argc, char** argv);

// Reads the configuration from where it lives for this user (SettingsLocation;
// creating it first with "/Init") and applies it to
// the windows; ends the program through the fatal box when the file fails.
// Fields out of range take their fresh values; their names are returned for
// the start-up report.
std::vector<std::string> LoadSettings();
// One box that names the fields LoadSettings repaired; nothing when there are none.
void ReportRepairedSettings(const std::vector<std::string>& names);
