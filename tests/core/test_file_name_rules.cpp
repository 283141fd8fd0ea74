#include "dialogs/FileNameRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

TEST(FileNameRules, SelectFileResultFromTheEditText)
{
    struct Case {
        std::string name, editText, extension, expected;
    };
    const std::vector<Case> cases = {
        {"untouched mask", "*.EA", "EA", ""},
        {"star alone", "*", "EA", ""},
        {"emptied field", "", "BMP", ""},
        {"typed extension replaced", "name.TXT", "BMP", "name.BMP"},
        {"several points keep the first part", "a.b.c", "EA", "a.EA"},
        {"name without point", "curve1", "OHM", "curve1.OHM"},
        {"leading point leaves nothing", ".hidden", "EA", ""},
        {"star with other text is a name", "*x.EA", "EA", "*x.EA"},
        {"result cut at 255", std::string(253, 'n'), "BMP", std::string(253, 'n') + ".B"},
        {"edit text cut at 255 first", std::string(300, 'n') + ".TXT", "EA", std::string(255, 'n')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SelectFileResult(c.editText, c.extension), c.expected);
    }
}

TEST(FileNameRules, MaskAndProgramDirectory)
{
    EXPECT_EQ(ListMask("OHM"), "*.OHM");
    EXPECT_EQ(ListMask(std::string(300, 'e')).size(), 255u);

    struct Case {
        std::string path, expected;
    };
    const std::vector<Case> cases = {
        {"/opt/voxa/voxa32vw", "/opt/voxa/"},
        {"/voxa32vw", "/"},
        {"voxa32vw", ""},
        {"", ""},
        {"/opt/voxa/", "/opt/voxa/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ProgramDirectoryOf(c.path), c.expected);
    }
}

TEST(FileNameRules, DirectoryEntriesAndSampleTexts)
{
    EXPECT_TRUE(IsDirectoryEntry("[..]"));
    EXPECT_FALSE(IsDirectoryEntry("A.EA"));
    EXPECT_FALSE(IsDirectoryEntry(""));
    EXPECT_EQ(SizeColumnSample(true), "888,888,888");
    EXPECT_EQ(SizeColumnSample(false), "888888888");
}

TEST(FileNameRules, ColumnRightEdges)
{
    const ListColumn size {true, 45, OffsetType::Relative, 60};
    const ListColumn date {true, 5, OffsetType::Relative, 50};
    const ListColumn time {true, 5, OffsetType::Relative, 40};
    struct Case {
        std::string name;
        std::optional<int> glyph;
        ListColumn size, date, time;
        std::optional<int> sizeEdge, dateEdge, timeEdge;
    };
    // Item left 10, name width 70: the name column ends at 80.
    const std::vector<Case> cases = {
        {"the box's settings", std::nullopt, size, date, time, 185, 240, 285},
        {"glyph shown", 16, size, date, time, 207, 262, 307},
        {"size at the screen edge", std::nullopt, {true, 150, OffsetType::ScreenEdge, 60}, date,
            time, 150, 205, 250},
        {"date from the left edge", std::nullopt, size, {true, 300, OffsetType::LeftEdge, 50}, time,
            185, 310, 355},
        {"hidden size leaves x", std::nullopt, {false, 45, OffsetType::Relative, 60}, date, time,
            std::nullopt, 135, 180},
        {"hidden date", std::nullopt, size, {false, 5, OffsetType::Relative, 50}, time, 185,
            std::nullopt, 230},
        {"all hidden", std::nullopt, {false, 0, OffsetType::Relative, 60},
            {false, 0, OffsetType::Relative, 60}, {false, 0, OffsetType::Relative, 60},
            std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ColumnEdges e = ComputeColumnEdges(10, 70, c.glyph, c.size, c.date, c.time);
        EXPECT_EQ(e.size, c.sizeEdge);
        EXPECT_EQ(e.date, c.dateEdge);
        EXPECT_EQ(e.time, c.timeEdge);
    }
}

TEST(FileNameRules, FileSizeWithAndWithoutSeparator)
{
    struct Case {
        uint64_t bytes;
        bool separator;
        std::string groupSeparator, expected;
    };
    const std::vector<Case> cases = {
        {1234567, true, ",", "1,234,567"}, {1234567, false, ",", "1234567"},
        {999, true, ",", "999"}, {1000, true, ".", "1.000"}, {123456, true, ",", "123,456"},
        {1234567890123, true, ",", "1,234,567,890,123"}, {1000, true, "\u202f", "1\u202f000"},
        {0, false, ",", "0"}, {0, true, ",", ""}, // the pattern has only optional digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(FormatFileSize(c.bytes, c.separator, c.groupSeparator), c.expected);
    }
}

} // namespace
