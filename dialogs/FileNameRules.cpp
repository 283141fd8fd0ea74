#include "dialogs/FileNameRules.h"

#include <algorithm>

#include "dialogs/DirectoryListing.h"
#include "ui/Rect.h"

namespace
{

// The right edge of one column, from the running position x.
int ColumnEdge(int itemLeft, int x, const ListColumn& c)
{
    switch (c.offset) {
    case OffsetType::ScreenEdge:
        return c.pos;
    case OffsetType::LeftEdge:
        return ClampToInt(static_cast<long long>(itemLeft) + c.pos);
    case OffsetType::Relative:
        break;
    }
    return ClampToInt(static_cast<long long>(x) + c.width + c.pos);
}

} // namespace

std::string CutName(std::string_view name)
{
    if (name.size() <= kMaxTextLength)
        return std::string(name);
    const auto isContinuation
        = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    std::size_t end = kMaxTextLength;
    // A sequence is at most 4 bytes: its lead byte lies at most 3 back.
    std::size_t lead = end;
    while (lead > 0 && end - lead < 3 && isContinuation(name[lead]))
        --lead;
    if (lead < end && static_cast<unsigned char>(name[lead]) >= 0xC0)
        end = lead;
    return std::string(name.substr(0, end));
}

std::size_t TypedNameEnd(std::string_view text)
{
    const std::size_t slash = text.rfind('/');
    const std::size_t lastPart = slash == std::string_view::npos ? 0 : slash + 1;
    return std::min(text.find('.', lastPart), text.size());
}

std::string SelectFileResult(std::string_view editText, std::string_view extension)
{
    const std::string text = CutName(editText);
    const std::string_view name = std::string_view(text).substr(0, TypedNameEnd(text));
    const std::string_view lastPart = name.substr(name.rfind('/') + 1);
    if (lastPart.empty() || lastPart == "*")
        return {};
    return CutName(std::string(name) + "." + std::string(extension));
}

std::string ListedNameFor(const std::string& typed, const std::vector<std::string>& listed)
{
    if (std::find(listed.begin(), listed.end(), typed) != listed.end())
        return typed;
    const std::string* found = nullptr;
    for (const std::string& name : listed) {
        if (!EqualIgnoringCase(name, typed))
            continue;
        if (found)
            return typed;
        found = &name;
    }
    return found ? *found : typed;
}

std::string ListMask(std::string_view extension)
{
    return CutText("*." + std::string(extension));
}

std::string ProgramDirectoryOf(std::string_view executablePath)
{
    const std::size_t slash = executablePath.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    return std::string(executablePath.substr(0, slash + 1));
}

bool IsDirectoryEntry(std::string_view itemText)
{
    return itemText.starts_with('[');
}

std::string_view SizeColumnSample(bool separator)
{
    return separator ? "888,888,888" : "888888888";
}

ColumnEdges ComputeColumnEdges(int itemLeft, int nameWidth, std::optional<int> glyphWidth,
    const ListColumn& size, const ListColumn& date, const ListColumn& time)
{
    long long start = static_cast<long long>(itemLeft) + nameWidth;
    if (glyphWidth)
        start += *glyphWidth + 6LL;
    int x = ClampToInt(start);

    ColumnEdges edges;
    std::optional<int>* const slots[] = {&edges.size, &edges.date, &edges.time};
    const ListColumn* const columns[] = {&size, &date, &time};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!columns[i]->shown)
            continue;
        x = ColumnEdge(itemLeft, x, *columns[i]);
        *slots[i] = x;
    }
    return edges;
}

std::string FormatFileSize(uint64_t bytes, bool separator, std::string_view groupSeparator)
{
    if (!separator)
        return std::to_string(bytes);
    if (bytes == 0)
        return {};
    const std::string digits = std::to_string(bytes);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += groupSeparator;
        out += digits[i];
    }
    return out;
}
