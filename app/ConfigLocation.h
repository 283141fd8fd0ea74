#pragma once
// Where the configuration lives. A program folder the user may write keeps
// VOXA32VW.CFG beside the program (a portable folder). An installed program's
// folder is not the user's: the file beside it is the site's default, read
// until the user has a copy of their own under the XDG configuration
// directory, which every save and "/Init" write. The file box's first
// directory follows the same rule.

#include <optional>
#include <string>

// programDirectory + "VOXA32VW.CFG", cut at 255 characters: the file beside the program.
std::string ConfigPath(const std::string& programDirectory);

// The file read at start-up and the file a save or "/Init" writes.
struct ConfigLocation {
    std::string readPath;
    std::string savePath;
};

// The user's copy: XDG_CONFIG_HOME/voxa32vw/VOXA32VW.CFG, or
// HOME/.config/voxa32vw/VOXA32VW.CFG where XDG_CONFIG_HOME is unset, empty or
// relative (such a value is to be ignored). Nothing without an absolute home.
std::optional<std::string> UserConfigPath(const char* xdgConfigHome, const char* home);

// The rule: a writable program folder reads and writes ConfigPath(programDirectory);
// otherwise the user's copy is written, and read when it exists (the site's
// file beside the program before that). Without a user path the program's
// file is used as before.
ConfigLocation ChooseConfigLocation(const std::string& programDirectory,
    bool programDirectoryWritable, const std::optional<std::string>& userConfigPath,
    bool userCopyExists);

// The example curves an installation puts beside the program's folder:
// programDirectory/../share/voxa32vw/curves/, the ".." resolved in the text.
std::string InstalledCurvesDirectory(const std::string& programDirectory);

// What the file box lists for an empty curve directory: the installed example
// curves where the program folder is not writable and they exist, else the
// program's directory.
std::string ChooseDefaultCurveDirectory(
    const std::string& programDirectory, bool programDirectoryWritable, bool installedCurvesExist);

// The rules applied to this machine: the environment, the user's home in the
// password database where HOME is unset, and what the file system allows.
ConfigLocation FindConfigLocation(const std::string& programDirectory);
std::string FindDefaultCurveDirectory(const std::string& programDirectory);
