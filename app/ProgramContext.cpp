#include "app/ProgramContext.h"

std::vector<std::string> CommandLine;
std::string ProgramDir;
ConfigLocation SettingsLocation;
