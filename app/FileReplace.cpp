#include "app/FileReplace.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <glob.h>
#include <sys/random.h>
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

// Creates the temporary exclusively; its name ends in six random characters
// in place of "XXXXXX". Returns the descriptor or -1 with errno set.
int createTemporary(std::string& name, mode_t mode)
{
    static constexpr char kLetters[]
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6];
        if (::getrandom(random, sizeof random, 0) != ssize_t(sizeof random)) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        for (std::size_t i = 0; i < sizeof random; ++i)
            name[name.size() - sizeof random + i] = kLetters[random[i] % (sizeof kLetters - 1)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The replacement gets the mode, owner and group of the file it replaces
// (owner and group where the user may set them).
void keepAttributes(int fd, const struct stat& old)
{
    // Fails where the user may not give them away; the file is then the user's own.
    [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
    ::fchmod(fd, old.st_mode & 07777);
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

int MakeDirectoriesFor(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string directory = path.substr(0, slash);
        if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
            // Some file systems refuse the attempt before they look for the name.
            const int error = errno;
            struct stat st {
            };
            if (::stat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
                return error;
        }
    }
    return 0;
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
    // A new file is made with 0666 so that the kernel applies the user's umask
    // (and a directory's default ACL) as for any file a program creates; a
    // replacement starts private and takes the old file's mode before a byte
    // of it is written.
    struct stat old {
    };
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    const int fd = createTemporary(temporary, replacing ? 0600 : 0666);
    if (fd < 0) {
        const int error = errno;
        return directoryRefusesNewFiles(error) && inPlace ? inPlace() : error;
    }
    if (replacing)
        keepAttributes(fd, old);
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
