#include "app/ConfigFile.h"

#include "app/FileReplace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
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

bool LoadSettingsFile(
    const std::vector<std::string>& args, const ConfigLocation& location, SettingsRecord& record)
{
    if (FindSwitch(args, "/Init") > 0) {
        WriteFreshSettings(record);
        const bool written = bool(WriteConfigFile(location.savePath, record));
        return ReadConfigFile(location.savePath, record) && written;
    }
    return ReadConfigFile(location.readPath, record);
}
