#include "app/ConfigFile.h"

#include "app/FileReplace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

// The scrambled record as the bytes of the file.
std::span<const unsigned char> recordBytes(const SettingsRecord& scrambled)
{
    return {reinterpret_cast<const unsigned char*>(&scrambled), kSettingsSize};
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
    return WriteBytesAndClose(fd, recordBytes(scrambled));
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

SaveOutcome WriteConfigFile(const std::string& path, const SettingsRecord& record)
{
    if (const int error = MakeDirectoriesFor(path); error != 0)
        return {error};
    SettingsRecord scrambled = record;
    ScrambleSettings(scrambled);
    const std::optional<std::string> target = FollowLinks(path);
    if (!target)
        return {ELOOP};
    return {ReplaceFileContents(*target, recordBytes(scrambled), ".voxa32vw-save.",
        [&] { return writeInPlace(*target, scrambled); })};
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

std::string ConfigReadProblem(const std::string& path)
{
    struct stat st {
    };
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? "not found" : std::strerror(errno);
    if (S_ISDIR(st.st_mode))
        return "a directory, not a file";
    if (!S_ISREG(st.st_mode))
        return "not a plain file";
    if (::access(path.c_str(), R_OK) != 0)
        return std::string("not readable: ") + std::strerror(errno);
    if (st.st_size < static_cast<off_t>(kSettingsSize))
        return "only " + std::to_string(st.st_size) + " of " + std::to_string(kSettingsSize)
            + " bytes";
    return "could not be read";
}

LoadOutcome LoadSettingsFile(
    const std::vector<std::string>& args, const ConfigLocation& location, SettingsRecord& record)
{
    if (FindSwitch(args, "/Init") > 0) {
        WriteFreshSettings(record);
        const SaveOutcome written = WriteConfigFile(location.savePath, record);
        const bool read = ReadConfigFile(location.savePath, record);
        if (!written)
            return {{location.savePath + " cannot be written:", std::strerror(written.error)}};
        if (!read)
            return {{location.savePath + ": " + ConfigReadProblem(location.savePath)}};
        return {};
    }
    if (ReadConfigFile(location.readPath, record))
        return {};
    LoadOutcome failed {{location.readPath + ": " + ConfigReadProblem(location.readPath)}};
    if (location.readPath != location.savePath)
        failed.problem.push_back("(nor the user's copy " + location.savePath + ")");
    return failed;
}
