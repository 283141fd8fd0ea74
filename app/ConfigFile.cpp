#include "app/ConfigFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <glob.h>
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

bool writeAll(int fd, const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Temporaries of earlier saves that were killed before their rename
// (path + "." + six characters of mkstemp).
void removeStaleTemporaries(const std::string& path)
{
    glob_t found {};
    if (::glob((path + ".??????").c_str(), GLOB_NOSORT, nullptr, &found) == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i)
            ::unlink(found.gl_pathv[i]);
    }
    ::globfree(&found);
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

bool WriteConfigFile(const std::string& path, const SettingsRecord& record)
{
    removeStaleTemporaries(path);
    SettingsRecord scrambled = record;
    ScrambleSettings(scrambled);

    std::string tempPath = path + ".XXXXXX";
    const int fd = ::mkstemp(tempPath.data());
    if (fd < 0)
        return false;
    ::fchmod(fd, 0644);
    const bool written
        = writeAll(fd, reinterpret_cast<const unsigned char*>(&scrambled), kSettingsSize)
        && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(tempPath.c_str(), path.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return false;
    }
    return true;
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
        ok = WriteConfigFile(path, record);
    }
    return ReadConfigFile(path, record) && ok;
}
