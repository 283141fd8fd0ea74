#include "app/ConfigLocation.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

bool isAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

std::string withSlash(std::string directory)
{
    if (!directory.ends_with('/'))
        directory += '/';
    return directory;
}

// New files can be made in it by this user.
bool writableDirectory(const std::string& directory)
{
    return ::faccessat(
               AT_FDCWD, directory.empty() ? "." : directory.c_str(), W_OK | X_OK, AT_EACCESS)
        == 0;
}

bool exists(const std::string& path, mode_t kind)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

// HOME, or the user's entry in the password database where HOME is unset or empty.
std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return home;
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found
        && found->pw_dir)
        return found->pw_dir;
    return {};
}

// XDG_CONFIG_HOME, or HOME/.config where it is unset, empty or relative;
// with a trailing '/'.
std::optional<std::string> configHome(const char* xdgConfigHome, const char* home)
{
    if (isAbsolute(xdgConfigHome))
        return withSlash(xdgConfigHome);
    if (isAbsolute(home))
        return withSlash(home) + ".config/";
    return std::nullopt;
}

// The whole text of a small file; empty where it cannot be read.
std::string smallFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text;
    std::getline(in, text, '\0');
    return text;
}

} // namespace

std::string ConfigPath(const std::string& programDirectory)
{
    return programDirectory + "VOXA32VW.CFG";
}

std::string RunningProgramPath()
{
    std::vector<char> buffer(PATH_MAX + 1);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::string> UserConfigPath(const char* xdgConfigHome, const char* home)
{
    const std::optional<std::string> base = configHome(xdgConfigHome, home);
    if (!base)
        return std::nullopt;
    return *base + "voxa32vw/VOXA32VW.CFG";
}

ConfigLocation ChooseConfigLocation(const std::string& programDirectory,
    bool programDirectoryWritable, const std::optional<std::string>& userConfigPath,
    bool userCopyExists)
{
    const std::string programFile = ConfigPath(programDirectory);
    if (programDirectoryWritable || !userConfigPath)
        return {programFile, programFile};
    return {userCopyExists ? *userConfigPath : programFile, *userConfigPath};
}

std::string InstalledCurvesDirectory(const std::string& programDirectory)
{
    std::string folder = programDirectory;
    while (folder.size() > 1 && folder.ends_with('/'))
        folder.pop_back();
    std::string parent = "../"; // of the current directory
    if (!folder.empty()) {
        const std::size_t slash = folder.rfind('/');
        parent = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    }
    return parent + "share/voxa32vw/curves/";
}

std::string ChooseDefaultCurveDirectory(
    const std::string& programDirectory, bool programDirectoryWritable, bool installedCurvesExist)
{
    if (!programDirectoryWritable && installedCurvesExist)
        return InstalledCurvesDirectory(programDirectory);
    return programDirectory;
}

std::optional<std::string> PicturesDirectoryOf(std::string_view userDirs, const std::string& home)
{
    constexpr std::string_view kKey = "XDG_PICTURES_DIR=\"";
    std::optional<std::string> found;
    std::size_t start = 0;
    while (start < userDirs.size()) {
        std::size_t end = userDirs.find('\n', start);
        if (end == std::string_view::npos)
            end = userDirs.size();
        const std::string_view line = userDirs.substr(start, end - start);
        start = end + 1;
        const std::size_t close = line.rfind('"');
        if (!line.starts_with(kKey) || close < kKey.size())
            continue;
        std::string value(line.substr(kKey.size(), close - kKey.size()));
        if (value == "$HOME" || value.starts_with("$HOME/"))
            value = home + value.substr(5);
        if (isAbsolute(value.c_str()))
            found = value;
    }
    return found;
}

std::string ChooseDefaultBmpDirectory(bool programDirectoryWritable,
    const std::optional<std::string>& picturesDirectory, bool picturesExist,
    const std::string& home)
{
    if (programDirectoryWritable || home.empty())
        return {};
    return withSlash(picturesDirectory && picturesExist ? *picturesDirectory : home);
}

ConfigLocation FindConfigLocation(const std::string& programDirectory)
{
    const std::string home = homeDirectory();
    const std::optional<std::string> user
        = UserConfigPath(std::getenv("XDG_CONFIG_HOME"), home.c_str());
    return ChooseConfigLocation(programDirectory, writableDirectory(programDirectory), user,
        user && exists(*user, S_IFREG));
}

std::string FindDefaultCurveDirectory(const std::string& programDirectory)
{
    return ChooseDefaultCurveDirectory(programDirectory, writableDirectory(programDirectory),
        exists(InstalledCurvesDirectory(programDirectory), S_IFDIR));
}

std::string BmpDirectoryToOffer(const std::string& stored, const std::string& programDirectory)
{
    if (!stored.empty())
        return stored;
    const std::string home = homeDirectory();
    std::optional<std::string> pictures;
    if (const std::optional<std::string> base
        = configHome(std::getenv("XDG_CONFIG_HOME"), home.c_str()))
        pictures = PicturesDirectoryOf(smallFileText(*base + "user-dirs.dirs"), home);
    return ChooseDefaultBmpDirectory(writableDirectory(programDirectory), pictures,
        pictures && exists(*pictures, S_IFDIR), home);
}
