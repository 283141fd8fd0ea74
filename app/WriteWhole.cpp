#include "app/WriteWhole.h"

#include "curves/CurveFile.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

std::optional<std::string> WriteWhole(
    const std::string& path, std::span<const unsigned char> bytes, Flush flush)
{
    const std::optional<std::string> target = FollowLinks(path);
    if (!target)
        return "too many levels of symbolic links";
    const int error = ReplaceFileContents(
        *target, bytes, ".voxacurve-write.", {}, flush, Cleanup::OncePerDirectory);
    if (error != 0)
        return std::strerror(error);
    return std::nullopt;
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
