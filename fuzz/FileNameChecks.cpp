#include "fuzz/FileNameChecks.h"

#include "app/Texts.h"
#include "dialogs/DirectoryListing.h"
#include "dialogs/FileNameRules.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace
{

using Problem = std::optional<std::string>;

// Little-endian numbers taken from the front of the input, zero past its end.
uint64_t TakeNumber(std::span<const unsigned char> bytes, std::size_t offset, std::size_t width)
{
    uint64_t v = 0;
    for (std::size_t i = 0; i < width && offset + i < bytes.size(); ++i)
        v |= uint64_t {bytes[offset + i]} << (8 * i);
    return v;
}

int TakeInt(std::span<const unsigned char> bytes, std::size_t offset)
{
    return static_cast<int32_t>(static_cast<uint32_t>(TakeNumber(bytes, offset, 4)));
}

Problem CheckChosenName(std::string_view text, std::string_view extension)
{
    const std::string result = SelectFileResult(text, extension);
    // The field holds 255 bytes, cut before a UTF-8 character it would split.
    const std::string cut = CutName(text);
    const std::string_view stem = std::string_view(cut).substr(0, TypedNameEnd(cut));
    const std::string_view lastPart = stem.substr(stem.rfind('/') + 1);
    const bool chosen = !lastPart.empty() && lastPart != "*";
    if (result.empty() == chosen)
        return "a name chosen from an empty or \"*\" field, or none from a name";
    if (!chosen)
        return std::nullopt;
    if (result.size() > kMaxTextLength)
        return "a chosen name longer than 255 characters";
    // A cut through a UTF-8 character moves back to its start: up to 3 bytes
    // of the name may be left out.
    // The name's last part holds no point: the first one after it is the
    // point added before the extension (which may itself hold a '/').
    const std::size_t point
        = std::min(result.find('.', stem.size() - lastPart.size()), result.size());
    const std::string_view name = std::string_view(result).substr(0, point);
    if (!stem.starts_with(name) || stem.size() - name.size() > 3
        || !("." + std::string(extension)).starts_with(result.substr(point)))
        return "a chosen name that is not the field's name with the extension";
    return std::nullopt;
}

Problem CheckMasks(std::string_view text, std::string_view extension)
{
    const std::string mask = ListMask(extension);
    if (mask.size() > kMaxTextLength || !mask.starts_with("*."))
        return "a list mask not of the form \"*.\" + extension";
    MatchesMask(text, mask);
    MatchesMask(text, extension);
    if (!MatchesMask(text, text) || !MatchesMask(text, "*"))
        return "a name that does not match itself or \"*\"";
    return std::nullopt;
}

Problem CheckProgramDirectory(std::string_view path)
{
    const std::string dir = ProgramDirectoryOf(path);
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos ? !dir.empty() : dir != path.substr(0, slash + 1))
        return "a program directory that is not the path up to its last '/'";
    if (IsDirectoryEntry(path) != path.starts_with('['))
        return "a directory entry not told by its leading '['";
    return std::nullopt;
}

Problem CheckFileSizeTexts(uint64_t size, std::string_view groupSeparator)
{
    if (FormatFileSize(size, false, groupSeparator) != std::to_string(size))
        return "a plain file size that is not the decimal number";
    const std::string grouped = FormatFileSize(size, true, groupSeparator);
    const bool separatorHasDigits = std::any_of(
        groupSeparator.begin(), groupSeparator.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (separatorHasDigits)
        return std::nullopt;
    std::string digits;
    std::copy_if(grouped.begin(), grouped.end(), std::back_inserter(digits),
        [](char c) { return c >= '0' && c <= '9'; });
    if (digits != (size == 0 ? std::string() : std::to_string(size)))
        return "a grouped file size whose digits are not the number";
    return std::nullopt;
}

Problem CheckColumnEdges(std::span<const unsigned char> bytes)
{
    auto column = [&](std::size_t at) {
        return ListColumn {(bytes.size() > at && bytes[at] & 1) != 0, TakeInt(bytes, at + 1),
            static_cast<OffsetType>(TakeNumber(bytes, at + 5, 1) % 3), TakeInt(bytes, at + 6)};
    };
    const ListColumn size = column(8), date = column(18), time = column(28);
    const bool glyph = bytes.size() > 38 && (bytes[38] & 1) != 0;
    const ColumnEdges edges = ComputeColumnEdges(TakeInt(bytes, 39), TakeInt(bytes, 43),
        glyph ? std::optional<int>(TakeInt(bytes, 47)) : std::nullopt, size, date, time);
    if (edges.size.has_value() != size.shown || edges.date.has_value() != date.shown
        || edges.time.has_value() != time.shown)
        return "a column edge for a hidden column, or none for a shown one";
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckFileNameInput(std::span<const unsigned char> bytes)
{
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::size_t zero = all.find('\0');
    const std::string_view text = all.substr(0, zero);
    const std::string_view extension
        = zero == std::string_view::npos ? std::string_view() : all.substr(zero + 1);
    for (Problem p :
        {CheckChosenName(text, extension), CheckMasks(text, extension), CheckProgramDirectory(text),
            CheckFileSizeTexts(TakeNumber(bytes, 0, 8), extension), CheckColumnEdges(bytes)})
        if (p)
            return p;
    return std::nullopt;
}
