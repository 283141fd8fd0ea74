#include "dialogs/FileNameRules.h"

#include <algorithm>

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

std::string SelectFileResult(std::string_view editText, std::string_view extension)
{
    std::string_view name = editText.substr(0, kMaxTextLength);
    name = name.substr(0, name.find('.'));
    if (name.empty() || name == "*")
        return {};
    return CutText(std::string(name) + "." + std::string(extension));
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
    return CutText(std::string(executablePath.substr(0, slash + 1)));
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
