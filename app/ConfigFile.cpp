#include "app/ConfigFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <glob.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string upperAscii(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
        [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; });
    return out;
}

// 0 when all bytes were written, else the error.
int writeAll(int fd, const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

// Writes the record, flushes it to disk and closes the file; 0 or the first error.
int writeRecordAndClose(int fd, const SettingsRecord& scrambled)
{
    int error = writeAll(fd, reinterpret_cast<const unsigned char*>(&scrambled), kSettingsSize);
    if (error == 0 && ::ftruncate(fd, kSettingsSize) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a path names after following its symbolic links (also a link
// whose target does not exist yet); nothing when the links form a loop.
std::optional<std::string> followLinks(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {
        };
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return path;
        target.resize(static_cast<std::size_t>(n));
        path = target.starts_with('/') ? target : directoryOf(path) + target;
    }
    return std::nullopt;
}

// A save's temporary: hidden, beside the file, with a marker no user would
// choose, so that only files this program made are ever removed.
std::string temporaryPrefix(const std::string& target)
{
    const std::string dir = directoryOf(target);
    return dir + "." + target.substr(dir.size()) + ".voxa32vw-save.";
}

// Temporaries of earlier saves that were killed before their rename.
void removeOwnTemporaries(const std::string& target)
{
    glob_t found {};
    if (::glob((temporaryPrefix(target) + "??????").c_str(), GLOB_NOSORT | GLOB_PERIOD, nullptr,
            &found)
        == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i)
            ::unlink(found.gl_pathv[i]);
    }
    ::globfree(&found);
}

// The replacement gets the mode, owner and group of the file it replaces
// (owner and group where the user may set them).
void keepAttributes(int fd, const std::string& target)
{
    struct stat st {
    };
    if (::stat(target.c_str(), &st) != 0) {
        ::fchmod(fd, 0644);
        return;
    }
    // Fails where the user may not give them away; the file is then the user's own.
    [[maybe_unused]] const int owned = ::fchown(fd, st.st_uid, st.st_gid);
    ::fchmod(fd, st.st_mode & 07777);
}

// No new file can be made in the directory, though the file itself may be writable.
bool directoryRefusesNewFiles(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// Overwrites the existing file: one write of the whole record, cut to its
// size, flushed to disk.
int writeInPlace(const std::string& target, const SettingsRecord& scrambled)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return EINVAL;
    }
    return writeRecordAndClose(fd, scrambled);
}

// Writes a temporary beside the target and renames it over the target.
int writeByReplacing(const std::string& target, const SettingsRecord& scrambled)
{
    removeOwnTemporaries(target);
    std::string temporary = temporaryPrefix(target) + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return directoryRefusesNewFiles(error) ? writeInPlace(target, scrambled) : error;
    }
    keepAttributes(fd, target);
    int error = writeRecordAndClose(fd, scrambled);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    // The rename itself reaches the disk with the directory.
    const int dir = ::open(directoryOf(target).empty() ? "." : directoryOf(target).c_str(),
        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

} // namespace

int FindSwitch(const std::vector<std::string>& args, std::string_view name)
{
    const std::string wanted = upperAscii(name);
    int found = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (upperAscii(args[i]) == wanted)
            found = static_cast<int>(i);
    }
    return found;
}

std::string ConfigPath(const std::string& programDirectory)
{
    return CutText(programDirectory + "VOXA32VW.CFG");
}

SaveOutcome WriteConfigFile(const std::string& path, const SettingsRecord& record)
{
    SettingsRecord scrambled = record;
    ScrambleSettings(scrambled);
    const std::optional<std::string> target = followLinks(path);
    if (!target)
        return {ELOOP};
    return {writeByReplacing(*target, scrambled)};
}

bool ReadConfigFile(const std::string& path, SettingsRecord& record)
{
    bool ok = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st {
        };
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            auto* bytes = reinterpret_cast<unsigned char*>(&record);
            std::size_t got = 0;
            while (got < kSettingsSize) {
                const ssize_t n = ::read(fd, bytes + got, kSettingsSize - got);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                got += static_cast<std::size_t>(n);
            }
            ok = got == kSettingsSize;
        }
        ::close(fd);
    }
    UnscrambleSettings(record);
    return ok;
}

bool LoadSettingsFile(
    const std::vector<std::string>& args, const std::string& path, SettingsRecord& record)
{
    bool ok = true;
    if (FindSwitch(args, "/Init") > 0) {
        WriteFreshSettings(record);
        ok = bool(WriteConfigFile(path, record));
    }
    return ReadConfigFile(path, record) && ok;
}
