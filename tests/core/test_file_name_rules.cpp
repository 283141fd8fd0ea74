#include "dialogs/FileNameRules.h"

#include "dialogs/DirectoryListing.h"

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
        {"point in a folder stays", "/tmp/hd.x/MYSPK", "EA", "/tmp/hd.x/MYSPK.EA"},
        {"last part cut at its first point", "/tmp/hd.x/a.b.c", "EA", "/tmp/hd.x/a.EA"},
        {"relative folder with points", "../v1.2/ROOM.aa", "AA", "../v1.2/ROOM.AA"},
        {"folder without point", "sub/B70", "OHM", "sub/B70.OHM"},
        {"folder alone", "/tmp/hd.x/", "EA", ""},
        {"folder and star", "sub.d/*.EA", "EA", ""},
        {"hidden name in a folder", "sub/.hidden", "EA", ""},
        {"root file", "/MYSPK", "EA", "/MYSPK.EA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SelectFileResult(c.editText, c.extension), c.expected);
    }
}

TEST(FileNameRules, NamesAreCutAt255BytesWithoutSplittingACharacter)
{
    const std::string a254(254, 'a'), a253(253, 'a'), a252(252, 'a');
    const std::string ae = "\u00E4", euro = "\u20AC", clef = "\U0001D11E"; // 2, 3, 4 bytes
    struct Case {
        const char* name;
        std::string text, expected;
    };
    const std::vector<Case> cases = {
        {"short name whole", "Gr\u00F6\u00DFe \u00E4", "Gr\u00F6\u00DFe \u00E4"},
        {"exactly 255 bytes", a253 + ae, a253 + ae},
        {"two-byte character across the cut", a254 + ae + "x", a254},
        {"three-byte character across the cut", a253 + euro, a253},
        {"four-byte character across the cut", a252 + clef, a252},
        {"character ending at the cut", a252 + euro + "xyz", a252 + euro},
        {"bytes that are no UTF-8 cut plainly", std::string(300, '\x80'), std::string(255, '\x80')},
        {"Latin-1 bytes cut plainly", std::string(254, 'a') + "\xE4\xE4", a254 + "\xE4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CutName(c.text), c.expected);
    }
    // The edit text is cut the same way before its first point is looked for.
    EXPECT_EQ(SelectFileResult(a254 + ae + ".TXT", "EA"), a254 + ".");
}

TEST(FileNameRules, TypedNameStandsForTheListedFile)
{
    const std::vector<std::string> listed
        = {"aaa.ea", "B70.EA", "b70.Ea", "ROOM.ea", "room.EA", "Room.EA", "Gr\u00F6\u00DFe.EA"};
    struct Case {
        const char* name;
        std::string typed, expected;
    };
    const std::vector<Case> cases = {
        {"listed as typed", "B70.EA", "B70.EA"},
        {"only one in another case", "aaa.EA", "aaa.ea"},
        {"several in another case: as typed", "b70.EA", "b70.EA"},
        {"listed as typed among others in other cases", "room.EA", "room.EA"},
        {"several in another case, none as typed", "ROOM.EA", "ROOM.EA"},
        {"not listed", "new.EA", "new.EA"},
        {"letters beyond ASCII compared as they are", "GR\u00D6\u00DFE.EA", "GR\u00D6\u00DFE.EA"},
        {"ASCII letters of a name beyond ASCII", "gr\u00F6\u00DFe.ea", "Gr\u00F6\u00DFe.EA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ListedNameFor(c.typed, listed), c.expected);
    }
    EXPECT_EQ(ListedNameFor("a.EA", {}), "a.EA");
}

TEST(FileNameRules, PathsJoinWithOneSeparator)
{
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("", "b"), "b"); // relative to the current directory
    EXPECT_EQ(JoinPath("/", "b"), "/b");
    EXPECT_EQ(JoinPath("/a", "/tmp/hd.x/b"), "/tmp/hd.x/b"); // a typed whole path
    EXPECT_TRUE(EqualIgnoringCase("Room.Ea", "rOOM.eA"));
    EXPECT_FALSE(EqualIgnoringCase("Room.Ea", "Room.E"));
    EXPECT_FALSE(EqualIgnoringCase("[", "{")); // not letters
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
