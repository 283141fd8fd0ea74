#include "app/ConfigLocation.h"

#include "app/Texts.h"

#include <cstdlib>
#include <fcntl.h>
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

} // namespace

std::string ConfigPath(const std::string& programDirectory)
{
    return CutText(programDirectory + "VOXA32VW.CFG");
}

std::optional<std::string> UserConfigPath(const char* xdgConfigHome, const char* home)
{
    std::string base;
    if (isAbsolute(xdgConfigHome))
        base = withSlash(xdgConfigHome);
    else if (isAbsolute(home))
        base = withSlash(home) + ".config/";
    else
        return std::nullopt;
    return base + "voxa32vw/VOXA32VW.CFG";
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
