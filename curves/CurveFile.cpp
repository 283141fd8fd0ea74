#include "curves/CurveFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

uint32_t LoadLittleEndian32(const unsigned char* p)
{
    return uint32_t {p[0]} | uint32_t {p[1]} << 8 | uint32_t {p[2]} << 16 | uint32_t {p[3]} << 24;
}

int32_t LoadInt32(const unsigned char* p)
{
    const uint32_t bits = LoadLittleEndian32(p);
    int32_t v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

float LoadFloat(const unsigned char* p)
{
    const uint32_t bits = LoadLittleEndian32(p);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

CurveHeader DecodeHeader(const unsigned char* p)
{
    CurveHeader h;
    h.LevelFactor = LoadFloat(p);
    h.SampleRate = LoadInt32(p + 4);
    h.TransformLength = LoadInt32(p + 8);
    h.UpperFrequency = LoadFloat(p + 12);
    h.LowerFrequency = LoadFloat(p + 16);
    return h;
}

// A header the slot can hold and the drawing can divide by.
bool IsUsableHeader(const CurveHeader& h)
{
    const int32_t n = h.TransformLength;
    return n > 0 && n % 2 == 0 && n <= kMaxTransformLength && h.SampleRate > 0;
}

// Reads until count bytes arrived or the file ends; false on a read error.
bool ReadUpTo(int fd, std::vector<unsigned char>& bytes, std::size_t count)
{
    bytes.resize(count);
    std::size_t got = 0;
    while (got < count) {
        const ssize_t r = ::read(fd, bytes.data() + got, count - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return false;
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    bytes.resize(got);
    return true;
}

} // namespace

CurveFile ParseCurveFile(std::span<const unsigned char> bytes)
{
    CurveFile file;
    if (bytes.size() < kCurveHeaderBytes) {
        file.status = CurveFileStatus::Truncated;
        return file;
    }
    file.header = DecodeHeader(bytes.data());
    if (!IsUsableHeader(file.header)) {
        file.status = CurveFileStatus::BadHeader;
        return file;
    }
    const std::size_t count = static_cast<std::size_t>(file.header.TransformLength) / 2;
    if (bytes.size() < kCurveHeaderBytes + 4 * count) {
        file.status = CurveFileStatus::Truncated;
        return file;
    }
    file.values.resize(count);
    const unsigned char* p = bytes.data() + kCurveHeaderBytes;
    for (std::size_t k = 0; k < count; ++k)
        file.values[k] = LoadFloat(p + 4 * k);
    file.status = CurveFileStatus::Ok;
    return file;
}

std::optional<std::vector<unsigned char>> ReadCurveFileBytes(const std::string& path)
{
    // O_NONBLOCK keeps the open from waiting for a FIFO's writer; the type
    // check then refuses everything but a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    std::vector<unsigned char> bytes;
    const bool ok
        = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadUpTo(fd, bytes, kMaxCurveFileBytes);
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return bytes;
}

std::string WhyUnreadable(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? "no such file"
            : errno == EACCES                      ? "permission denied"
                                                   : std::strerror(errno);
    if (S_ISDIR(st.st_mode))
        return "a directory, not a regular file";
    if (S_ISFIFO(st.st_mode))
        return "a FIFO, not a regular file";
    if (!S_ISREG(st.st_mode))
        return "not a regular file";
    if (::access(path.c_str(), R_OK) != 0 && errno == EACCES)
        return "permission denied";
    return "a read error";
}

CurveFile ReadCurveFile(const std::string& path)
{
    const auto bytes = ReadCurveFileBytes(path);
    if (!bytes) {
        CurveFile unreadable;
        unreadable.unreadable = WhyUnreadable(path);
        return unreadable;
    }
    return ParseCurveFile(*bytes);
}

void CommitCurveFile(const CurveFile& file, CurveSlot& slot)
{
    if (!file.ok())
        return;
    slot.header = file.header;
    std::copy(file.values.begin(), file.values.end(), slot.values);
}
