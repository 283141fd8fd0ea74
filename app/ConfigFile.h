#pragma once
// Reading and writing VOXA32VW.CFG, the scrambled image of the settings record.

#include "app/SettingsRecord.h"
#include "app/Texts.h"

#include <string>
#include <string_view>
#include <vector>

// Position (1..count) of the last argument equal to the switch, comparing
// both in upper case (only a-z change); 0 when none is. args[0] is the program.
int FindSwitch(const std::vector<std::string>& args, std::string_view name);

// programDirectory + "VOXA32VW.CFG", cut at 255 characters.
std::string ConfigPath(const std::string& programDirectory);

// Scrambles a copy of the record and replaces the file with it. The bytes go
// to a temporary file in the same directory that is renamed over the old one,
// so a failed or interrupted save leaves the previous file whole. Temporaries
// left by interrupted saves are removed by the next save.
// Returns false on any failure; the old file is then untouched.
bool WriteConfigFile(const std::string& path, const SettingsRecord& record);

// Reads the first 6808 bytes of the file into the record and unscrambles it
// (the unscramble happens even when the read fails). False when the file is
// missing, unreadable or shorter than 6808 bytes.
bool ReadConfigFile(const std::string& path, SettingsRecord& record);

// The file steps of the start-up load: with "/Init" on the command line the
// record gets its fresh values and is written first; then the file is read.
// False when any of these file operations failed.
bool LoadSettingsFile(
    const std::vector<std::string>& args, const std::string& path, SettingsRecord& record);
