#include "tools/voxacurve/WriteWhole.h"

#include <cstring>

std::optional<std::string> WriteWhole(
    const std::string& path, std::span<const unsigned char> bytes, Flush flush)
{
    const std::optional<std::string> target = FollowLinks(path);
    if (!target)
        return "too many levels of symbolic links";
    const int error = ReplaceFileContents(*target, bytes, ".voxacurve-write.", {}, flush);
    if (error != 0)
        return std::strerror(error);
    return std::nullopt;
}

std::span<const unsigned char> BytesOf(std::string_view bytes)
{
    return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}
