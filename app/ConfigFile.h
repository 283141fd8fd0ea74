#pragma once
// Reading and writing VOXA32VW.CFG, the scrambled image of the settings record.

#include "app/ConfigLocation.h"
#include "app/SettingsRecord.h"
#include "app/Texts.h"

#include <string>
#include <string_view>
#include <vector>

// Position (1..count) of the last argument equal to the switch, comparing
// both in upper case (only a-z change); 0 when none is. args[0] is the program.
int FindSwitch(const std::vector<std::string>& args, std::string_view name);

// The outcome of a save: error is 0 when the file was written, else the
// errno value of the step that failed.
struct SaveOutcome {
    int error = 0;
    explicit operator bool() const { return error == 0; }
};

// Scrambles a copy of the record and replaces the file with it. Missing
// directories on the way to it are made (mode 0700). A symbolic
// link is followed: its target is written and the link stays. The bytes go
// to a hidden temporary file beside the target (".VOXA32VW.CFG.voxa32vw-save."
// and six characters) that takes the old file's mode, owner and group and is
// renamed over it, so a failed or interrupted save leaves the old file whole.
// Such temporaries left by killed saves are removed by the next save; no
// other file is touched. Where the directory takes no new file (read-only,
// or not writable by the user) the existing file is overwritten in place: one
// write of the whole record, then a flush to disk.
SaveOutcome WriteConfigFile(const std::string& path, const SettingsRecord& record);

// Reads the first 6808 bytes of the file into the record and unscrambles it
// (the unscramble happens even when the read fails). False when the file is
// missing, unreadable or shorter than 6808 bytes.
bool ReadConfigFile(const std::string& path, SettingsRecord& record);

// Why a configuration file cannot be read, in words: "not found", "a
// directory, not a file", "only 100 of 6808 bytes", "not readable: ...".
std::string ConfigReadProblem(const std::string& path);

// The outcome of the start-up load: nothing, or lines that say which file
// failed, where the program looked and why.
struct LoadOutcome {
    std::vector<std::string> problem;
    explicit operator bool() const { return problem.empty(); }
};

// The file steps of the start-up load: with "/Init" on the command line the
// record gets its fresh values and is written to the save path first, and
// that file is read; otherwise the read path is read. Fails when any of these
// file operations failed; where the read path is the site's file, the lines
// also name the user's copy that was looked for first.
LoadOutcome LoadSettingsFile(
    const std::vector<std::string>& args, const ConfigLocation& location, SettingsRecord& record);
