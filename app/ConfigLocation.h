#pragma once
// Where the configuration lives. A program folder the user may write keeps
// VOXA32VW.CFG beside the program (a portable folder). An installed program's
// folder is not the user's: the file beside it is the site's default, read
// until the user has a copy of their own under the XDG configuration
// directory, which every save and "/Init" write. The file box's first
// directory follows the same rule.

#include <optional>
#include <string>
#include <string_view>

// programDirectory + "VOXA32VW.CFG": the file beside the program. The path is
// never cut: a program folder of any length finds its file.
std::string ConfigPath(const std::string& programDirectory);

// The path of the running program's file (symbolic links resolved), or empty
// where the system does not tell it.
std::string RunningProgramPath();

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

// The user's pictures folder as xdg-user-dir names it: the last
// XDG_PICTURES_DIR="..." line of a user-dirs.dirs text, "$HOME" at its start
// replaced by home; nothing where the text sets none or sets a relative path.
std::optional<std::string> PicturesDirectoryOf(std::string_view userDirs, const std::string& home);

// What the BMP file box offers for an empty BMP directory: nothing (the
// program's directory, as the curve file box) where the program folder is
// writable; otherwise the pictures folder where it exists, else the home
// folder, with a trailing '/'.
std::string ChooseDefaultBmpDirectory(bool programDirectoryWritable,
    const std::optional<std::string>& picturesDirectory, bool picturesExist,
    const std::string& home);

// The rules applied to this machine: the environment, the user's home in the
// password database where HOME is unset, and what the file system allows.
ConfigLocation FindConfigLocation(const std::string& programDirectory);
std::string FindDefaultCurveDirectory(const std::string& programDirectory);
// The BMP directory the box offers and a plain name is saved under: the
// stored one, or for an empty one ChooseDefaultBmpDirectory with the user's
// user-dirs.dirs (under XDG_CONFIG_HOME, as the user's configuration).
std::string BmpDirectoryToOffer(const std::string& stored, const std::string& programDirectory);
