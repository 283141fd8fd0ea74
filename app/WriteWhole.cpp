#include "app/WriteWhole.h"

#include "curves/CurveFile.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// The descriptor a path names as /dev/stdout, /dev/stderr, /dev/fd/N or
// /proc/self/fd/N do, or -1.
int descriptorNamed(const std::string& path)
{
    if (path == "/dev/stdout")
        return 1;
    if (path == "/dev/stderr")
        return 2;
    for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!path.starts_with(prefix))
            continue;
        const std::string_view digits = std::string_view(path).substr(prefix.size());
        int fd = -1;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), fd);
        if (error == std::errc() && end == digits.data() + digits.size() && !digits.empty())
            return fd;
    }
    return -1;
}

std::optional<std::string> errorInWords(int error)
{
    if (error == 0)
        return std::nullopt;
    return std::strerror(error);
}

// Writes into a character device or a FIFO as it is, as any tool writing
// into it does: no temporary, nothing made or renamed.
std::optional<std::string> writeIntoSpecialFile(
    const std::string& path, std::span<const unsigned char> bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errorInWords(errno);
    int error = WriteAllBytes(fd, bytes);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return errorInWords(error);
}

// Why a file of the mode is not written, or nothing when it is written into
// as it is (a character device or a FIFO) or replaced (a regular file).
std::optional<std::string> refusalOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a directory, not a file: give the name of a file";
    if (S_ISBLK(mode))
        return "a block device: not written over";
    if (S_ISSOCK(mode))
        return "a socket, not a file";
    return std::nullopt;
}

} // namespace

std::optional<std::string> WriteWhole(
    const std::string& path, std::span<const unsigned char> bytes, Flush flush)
{
    if (const int fd = descriptorNamed(path); fd >= 0) {
        // Into the open file as it stands (a pipe, a terminal or a file the
        // shell opened), as "-" writes to the standard output.
        const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        if (copy < 0)
            return errorInWords(errno);
        int error = WriteAllBytes(copy, bytes);
        if (::close(copy) != 0 && error == 0)
            error = errno;
        return errorInWords(error);
    }
    const std::optional<std::string> target = FollowLinks(path);
    if (!target)
        return "too many levels of symbolic links";
    struct stat st {
    };
    if (::stat(target->c_str(), &st) == 0) {
        if (const auto refusal = refusalOf(st.st_mode))
            return refusal;
        if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode))
            return writeIntoSpecialFile(*target, bytes);
    } else if (target->ends_with('/'))
        return "a directory, not a file: give the name of a file";
    return errorInWords(ReplaceFileContents(
        *target, bytes, ".voxacurve-write.", {}, flush, Cleanup::OncePerDirectory));
}

std::span<const unsigned char> BytesOf(std::string_view bytes)
{
    return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

std::optional<std::string> ReadWholeFile(
    const std::string& path, std::uintmax_t maxBytes, std::string& bytes)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_regular_file(path, error) || ::access(path.c_str(), R_OK) != 0)
        return "cannot be read: " + WhyUnreadable(path);
    if (fs::file_size(path, error) > maxBytes)
        return "larger than " + std::to_string(maxBytes >> 20) + " MiB: not a curve text";
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "cannot be read: " + WhyUnreadable(path);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (in.bad())
        return "cannot be read: a read error";
    return std::nullopt;
}
