#pragma once
// The text rules of the file selection box and the column positions of its
// owner-drawn file list. Texts are single-byte and at most 255 characters;
// longer results are cut at 255.

#include "app/Texts.h"
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A name cut at 255 bytes. Names are UTF-8 on this platform: a cut that would
// split a multi-byte sequence is moved back to the start of that sequence.
std::string CutName(std::string_view name);

// Where a typed name ends: at the first point of its last part (after the
// last '/'), so that a point in a folder name stays; the text's length when
// that part holds no point.
std::size_t TypedNameEnd(std::string_view text);

// The name typed into the edit field when the box closes: the text (cut at
// 255) up to TypedNameEnd; a last part of "*" or nothing gives an empty result
// (the untouched "*.EXT", the cancel button, an emptied field, a folder
// alone), otherwise the name, a point and the extension, cut at 255.
std::string SelectFileResult(std::string_view editText, std::string_view extension);

// The listed file that a typed name stands for in a box that opens existing
// files: the listed name equal to it, else the only one that differs from it
// in the case of letters alone (so "b70" finds "B70.ea" as the list's mask
// does); the typed name itself when no listed name, or several, match.
std::string ListedNameFor(const std::string& typed, const std::vector<std::string>& listed);

// The list's mask and the edit field's initial text: "*." and the extension.
std::string ListMask(std::string_view extension);

// The directory of the program file: the path up to and including its last
// '/'; empty when the path holds none.
std::string ProgramDirectoryOf(std::string_view executablePath);

// An item whose text begins with "[" is a directory entry: it gets no size,
// date or time text.
bool IsDirectoryEntry(std::string_view itemText);

// The sample texts whose widths in the list's font give the name and size
// column widths.
constexpr std::string_view kNameColumnSample = "XXXXXXXX.XXX";
std::string_view SizeColumnSample(bool separator);

// How a column's position value is read.
enum class OffsetType : int {
    ScreenEdge = 0, // the value is the right edge
    LeftEdge = 1, // the right edge is the item's left edge + the value
    Relative = 2, // the right edge is the previous right edge + column width + the value
};

struct ListColumn {
    bool shown = true;
    int pos = 0; // position value in pixels
    OffsetType offset = OffsetType::Relative;
    int width = 0; // the column's measured width in pixels
};

// Right edges (text is written right-aligned at them); empty for a hidden
// column, which leaves the running position unchanged.
struct ColumnEdges {
    std::optional<int> size;
    std::optional<int> date;
    std::optional<int> time;
};

// The running position starts at the item's left edge + the name width, plus
// the glyph width + 6 when the item shows a glyph (glyphWidth given). The
// size, date and time columns follow in this order. Sums saturate at the int
// range.
ColumnEdges ComputeColumnEdges(int itemLeft, int nameWidth, std::optional<int> glyphWidth,
    const ListColumn& size, const ListColumn& date, const ListColumn& time);

// A file size for the size column: with the separator, the pattern
// "###,###,###" (digits grouped in threes by groupSeparator, which may be
// several bytes such as a UTF-8 narrow no-break space); without it, plain
// digits. The pattern has only optional digits, so a size of 0 gives an
// empty text with the separator and "0" without it.
std::string FormatFileSize(uint64_t bytes, bool separator, std::string_view groupSeparator);
