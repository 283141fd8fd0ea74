#include "app/FileReplace.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A temporary: hidden, beside the file, with a marker no user would choose,
// so that only files this program made are ever removed.
std::string temporaryPrefix(const std::string& target, const std::string& marker)
{
    const std::string dir = directoryOf(target);
    return dir + "." + target.substr(dir.size()) + marker;
}

// Temporaries of earlier writes that were killed before their rename.
void removeOwnTemporaries(const std::string& prefix)
{
    glob_t found {};
    if (::glob((prefix + "??????").c_str(), GLOB_NOSORT | GLOB_PERIOD, nullptr, &found) == 0) {
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

// The rename itself reaches the disk with the directory.
void syncDirectoryOf(const std::string& target)
{
    const std::string dirPath = directoryOf(target);
    const int dir
        = ::open(dirPath.empty() ? "." : dirPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

std::optional<std::string> FollowLinks(std::string path)
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

int WriteBytesAndClose(int fd, std::span<const unsigned char> bytes, Flush flush)
{
    int error = 0;
    const unsigned char* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0 && error == 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        else if (n == 0)
            error = EIO;
        else {
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }
    if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        error = errno;
    if (error == 0 && flush == Flush::ToDisk && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

int ReplaceFileContents(const std::string& target, std::span<const unsigned char> bytes,
    const std::string& marker, const std::function<int()>& inPlace, Flush flush)
{
    const std::string prefix = temporaryPrefix(target, marker);
    removeOwnTemporaries(prefix);
    std::string temporary = prefix + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return directoryRefusesNewFiles(error) && inPlace ? inPlace() : error;
    }
    keepAttributes(fd, target);
    int error = WriteBytesAndClose(fd, bytes, flush);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    if (flush == Flush::ToDisk)
        syncDirectoryOf(target);
    return 0;
}
