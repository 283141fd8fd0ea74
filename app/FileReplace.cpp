#include "app/FileReplace.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string_view>
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

// The longest file name the file systems take.
constexpr std::size_t kNameMax = 255;

// The first line of a small file of /proc, or "" when it cannot be read.
std::string firstLineOf(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// When the process started, in clock ticks after the boot (field 22 of
// /proc/PID/stat, after the command name in parentheses); nothing when the
// process does not exist.
std::optional<unsigned long long> startTimeOf(const std::string& pid)
{
    const std::string stat = firstLineOf("/proc/" + pid + "/stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) { }
    return std::strtoull(field.c_str(), nullptr, 10);
}

// What tells this boot from the others: the first eight hexadecimal digits
// of the kernel's boot id.
const std::string& bootId()
{
    static const std::string id = [] {
        std::string boot = firstLineOf("/proc/sys/kernel/random/boot_id").substr(0, 8);
        return boot.size() == 8 ? boot : std::string("00000000");
    }();
    return id;
}

// This process's PID namespace, in hexadecimal ("0" when unknown).
const std::string& pidNamespace()
{
    static const std::string space = [] {
        std::string link(64, '\0');
        const ssize_t n = ::readlink("/proc/self/ns/pid", link.data(), link.size());
        link.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        const std::size_t open = link.find('[');
        const std::string number
            = open == std::string::npos ? "0" : link.substr(open + 1, link.size() - open - 2);
        char text[20];
        const auto end = std::to_chars(
            text, text + sizeof text, std::strtoull(number.c_str(), nullptr, 10), 16);
        return std::string(text, end.ptr);
    }();
    return space;
}

std::string hex(unsigned long long value)
{
    char text[20];
    return std::string(text, std::to_chars(text, text + sizeof text, value, 16).ptr);
}

// The process id, start time, boot and PID namespace of this process's
// writes, each followed by "-": a later run tells from them whether a write
// is over. Made again in a child process after a fork.
const std::string& ownWriterTag()
{
    thread_local pid_t pid = 0;
    thread_local std::string tag;
    if (pid != ::getpid()) {
        pid = ::getpid();
        tag = std::to_string(pid) + "-" + hex(startTimeOf("self").value_or(0)) + "-" + bootId()
            + "-" + pidNamespace() + "-";
    }
    return tag;
}

bool allOf(std::string_view text, const char* characters)
{
    return !text.empty() && text.find_first_not_of(characters) == std::string_view::npos;
}

constexpr const char* kDigits = "0123456789";
constexpr const char* kHexDigits = "0123456789abcdef";

// The writer a temporary's name records.
struct Writer {
    std::string_view pid, start, boot, space;
};

// The writer of a temporary "." NAME MARKER PID-START-BOOT-SPACE-RANDOM,
// or nothing when the name is not one.
std::optional<Writer> writerOf(std::string_view name, const std::string& marker)
{
    if (name.size() < 1 + marker.size() + kRandomLength || name.front() != '.')
        return std::nullopt;
    name.remove_suffix(kRandomLength);
    std::string_view fields[4];
    for (int i = 3; i >= 0; --i) {
        if (!name.ends_with('-'))
            return std::nullopt;
        name.remove_suffix(1);
        const std::size_t before = name.find_last_not_of(i == 0 ? kDigits : kHexDigits);
        if (before == std::string_view::npos)
            return std::nullopt;
        fields[i] = name.substr(before + 1);
        name.remove_suffix(fields[i].size());
    }
    if (!name.ends_with(marker) || name.size() == marker.size() || !allOf(fields[0], kDigits)
        || fields[0].size() > 9 || !allOf(fields[1], kHexDigits) || fields[2].size() != 8
        || !allOf(fields[2], kHexDigits) || !allOf(fields[3], kHexDigits))
        return std::nullopt;
    return Writer {fields[0], fields[1], fields[2], fields[3]};
}

// Whether the name is a temporary of the marker's writes whose writer
// provably ended: its process is gone or another one took its id, or the
// machine was started again since. A writer that cannot be told apart (of
// another PID namespace) is taken as running.
bool isTemporaryOfEndedWrite(const std::string& name, const std::string& marker)
{
    const std::optional<Writer> writer = writerOf(name, marker);
    if (!writer)
        return false;
    if (writer->boot != bootId())
        return true;
    if (writer->space != pidNamespace())
        return false;
    const std::string pid(writer->pid);
    const std::optional<unsigned long long> started = startTimeOf(pid);
    if (!started)
        return ::kill(std::atoi(pid.c_str()), 0) != 0 && errno == ESRCH;
    return hex(*started) != writer->start;
}

// The name part of a temporary of the target: its whole name where the
// temporary's name fits, else its first bytes (whole UTF-8 characters).
std::string namePartFor(const std::string& targetName, std::size_t suffixLength)
{
    const std::size_t room = kNameMax - 1 - suffixLength;
    if (targetName.size() <= room)
        return targetName;
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(targetName[cut]) & 0xC0) == 0x80)
        --cut;
    return targetName.substr(0, cut);
}

// Every file name in the directory ("" for the current one) that
// IsTemporaryOf the marker's writes, by the name of the file it was to
// replace; the temporaries of writes that provably ended are removed on
// the way, whatever file they were to replace.
std::multimap<std::string, std::string> temporariesIn(
    const std::string& directory, const std::string& marker)
{
    std::multimap<std::string, std::string> found;
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (isTemporaryOfEndedWrite(name, marker)) {
            ::unlink((directory + name).c_str());
            continue;
        }
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

// Temporaries of writes that provably ended, and those an earlier version
// of the program left for the target (named without their writer, matched
// by their exact name, so that no other file, nor another target's
// temporary, is touched whatever characters the names hold).
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

std::string TemporaryNameFor(const std::string& target, const std::string& marker)
{
    const std::string suffix = marker + ownWriterTag() + std::string(kRandomLength, 'X');
    return directoryOf(target) + "." + namePartFor(fileNameOf(target), suffix.size()) + suffix;
}

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

int WriteAllBytes(int fd, std::span<const unsigned char> bytes)
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
    return error;
}

int WriteBytesAndClose(int fd, std::span<const unsigned char> bytes, Flush flush)
{
    int error = WriteAllBytes(fd, bytes);
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
    std::string temporary = TemporaryNameFor(target, marker);
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
