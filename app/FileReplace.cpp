#include "app/FileReplace.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
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

std::string fileNameOf(const std::string& path)
{
    return path.substr(directoryOf(path).size());
}

constexpr std::size_t kRandomLength = 6;

// Every file name in the directory ("" for the current one) that
// IsTemporaryOf the marker's writes, by the name of the file it was to
// replace.
std::multimap<std::string, std::string> temporariesIn(
    const std::string& directory, const std::string& marker)
{
    std::multimap<std::string, std::string> found;
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const std::size_t end = name.size() - std::min(name.size(), kRandomLength);
        if (name.size() > 1 + marker.size() + kRandomLength && name.front() == '.'
            && name.compare(end - marker.size(), marker.size(), marker) == 0) {
            const std::string target = name.substr(1, end - marker.size() - 1);
            if (IsTemporaryOf(name, target, marker))
                found.emplace(target, name);
        }
    }
    ::closedir(dir);
    return found;
}

void removeTemporaries(const std::string& directory,
    std::multimap<std::string, std::string>& temporaries, const std::string& targetName)
{
    const auto [first, last] = temporaries.equal_range(targetName);
    for (auto i = first; i != last; ++i)
        ::unlink((directory + i->second).c_str());
    temporaries.erase(first, last);
}

// The directories whose temporaries were listed in this process, with those
// not yet removed: a run writing thousands of files into one directory reads
// it once. Writers on several threads share it.
struct ListedDirectories {
    std::mutex lock;
    std::map<std::pair<std::string, std::string>, std::multimap<std::string, std::string>> byPlace;
};

ListedDirectories& listedDirectories()
{
    static ListedDirectories listed;
    return listed;
}

// Temporaries of earlier writes of the target that were killed before their
// rename; matched by their exact name, so that no other file (nor another
// target's temporary) is touched whatever characters the names hold.
void removeOwnTemporaries(const std::string& target, const std::string& marker, Cleanup cleanup)
{
    const std::string directory = directoryOf(target);
    if (cleanup == Cleanup::EveryWrite) {
        auto temporaries = temporariesIn(directory, marker);
        removeTemporaries(directory, temporaries, fileNameOf(target));
        return;
    }
    ListedDirectories& listed = listedDirectories();
    const std::lock_guard guard(listed.lock);
    const auto [place, added] = listed.byPlace.try_emplace({directory, marker});
    if (added)
        place->second = temporariesIn(directory, marker);
    removeTemporaries(directory, place->second, fileNameOf(target));
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

bool IsTemporaryOf(
    const std::string& name, const std::string& targetName, const std::string& marker)
{
    const std::string prefix = "." + targetName + marker;
    return name.size() == prefix.size() + kRandomLength && name.starts_with(prefix);
}

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
    const std::string& marker, const std::function<int()>& inPlace, Flush flush, Cleanup cleanup)
{
    removeOwnTemporaries(target, marker, cleanup);
    // A temporary: hidden, beside the file, with a marker no user would
    // choose, so that only files this program made are ever removed.
    std::string temporary = directoryOf(target) + "." + fileNameOf(target) + marker + "XXXXXX";
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
