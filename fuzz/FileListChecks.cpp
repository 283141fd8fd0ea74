#include "fuzz/FileListChecks.h"

#include "curves/ArchiveFiles.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace
{

using Problem = std::optional<std::string>;
using Names = std::vector<std::string>;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Whether the list must be refused: UTF-16 by its byte order mark (after a
// UTF-8 one), or a NUL byte in a line list.
bool MustBeRefused(std::string_view list, bool nulSeparated)
{
    if (list.starts_with(kUtf8Mark))
        list.remove_prefix(kUtf8Mark.size());
    return list.starts_with("\xFF\xFE") || list.starts_with("\xFE\xFF")
        || (!nulSeparated && list.find('\0') != std::string_view::npos);
}

Problem CheckRefusal(const FileListNames& listed, std::string_view list, bool nulSeparated)
{
    if (listed.refusal.has_value() != MustBeRefused(list, nulSeparated))
        return listed.refusal ? "a list refused that is neither UTF-16 nor NUL in lines"
                              : "a UTF-16 list or a line list with NUL bytes accepted";
    if (listed.refusal
        && (listed.refusal->find("UTF-16") == std::string::npos
            || listed.refusal->find(' ') == std::string::npos || !listed.names.empty()))
        return "a refusal without words that say why, or with names";
    return std::nullopt;
}

Problem CheckNames(const Names& names, std::string_view list, bool nulSeparated)
{
    const bool crLines = list.find('\n') == std::string_view::npos;
    // Past the byte order mark: found at the list's start, it would have
    // been kept in the first name.
    std::size_t from = list.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0;
    for (const std::string& name : names) {
        if (name.empty())
            return "an empty name";
        if (name.find('\0') != std::string::npos)
            return "a name that holds a NUL byte";
        if (!nulSeparated
            && (name.find('\n') != std::string::npos
                || (crLines && name.find('\r') != std::string::npos)))
            return "a name of a line list that holds a line end";
        from = list.find(name, from);
        if (from == std::string_view::npos)
            return "a name that is not in the list in its order (or holds its byte order mark): "
                + name.substr(0, 100);
        from += name.size();
    }
    return std::nullopt;
}

std::string Joined(const Names& names, std::string_view separator)
{
    std::string list;
    for (const std::string& name : names)
        list.append(separator).append(name);
    return list.append(separator);
}

// The separators that may join the names again.
std::vector<std::string_view> Separators(const Names& names, bool nulSeparated)
{
    if (nulSeparated)
        return {std::string_view("\0", 1)};
    std::vector<std::string_view> separators {"\r\n"};
    if (std::none_of(
            names.begin(), names.end(), [](const std::string& n) { return n.ends_with('\r'); }))
        separators.push_back("\n");
    if (std::none_of(names.begin(), names.end(),
            [](const std::string& n) { return n.find('\r') != std::string::npos; }))
        separators.push_back("\r");
    return separators;
}

Problem CheckRoundTrip(const Names& names, bool nulSeparated)
{
    for (const std::string_view separator : Separators(names, nulSeparated)) {
        const std::string list = Joined(names, separator);
        for (const std::string& marked : {list, std::string(kUtf8Mark) + list}) {
            const FileListNames again = ParseFileList(marked, nulSeparated);
            if (again.refusal || again.names != names)
                return "names joined again that do not give back the same names";
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckFileListInput(std::span<const unsigned char> bytes)
{
    if (bytes.empty())
        return std::nullopt;
    const bool nulSeparated = bytes[0] & 1;
    const std::string_view list(reinterpret_cast<const char*>(bytes.data()) + 1, bytes.size() - 1);
    const FileListNames listed = ParseFileList(list, nulSeparated);
    if (const Problem p = CheckRefusal(listed, list, nulSeparated))
        return p;
    if (listed.refusal)
        return std::nullopt;
    if (const Problem p = CheckNames(listed.names, list, nulSeparated))
        return p;
    // (A second mark stays: the list without the first would lose it too.)
    const std::string_view unmarked = list.substr(std::min(list.size(), kUtf8Mark.size()));
    if (list.starts_with(kUtf8Mark) && !unmarked.starts_with(kUtf8Mark)
        && ParseFileList(unmarked, nulSeparated).names != listed.names)
        return "a list whose UTF-8 byte order mark changes its names";
    return CheckRoundTrip(listed.names, nulSeparated);
}
