#include "FileBoxTestHelpers.h"
#include "UiFixture.h"

#include "dialogs/DirectoryListing.h"
#include "dialogs/qt/TExtFileListBox.h"

#include <QDir>
#include <QFontMetrics>
#include <QLocale>
#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

// A list of its own, in the box's font, over a directory of its own.
class FileBoxList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_startDirectory = QDir::currentPath();
        ASSERT_TRUE(m_dir.isValid());
        QFont font("MS Sans Serif");
        font.setPixelSize(11);
        font.setBold(true);
        m_list.setFont(font);
        m_list.setDirectory(dir());
        m_list.setMask("*.EA");
    }
    void TearDown() override { QDir::setCurrent(m_startDirectory); }

    std::string dir() const { return m_dir.path().toStdString(); }

    QTemporaryDir m_dir;
    QString m_startDirectory;
    TExtFileListBox m_list;
};

TEST_F(FileBoxList, ColumnEdgesFollowTheirOffsetTypes)
{
    writeFile(dir(), "ROOM.EA");
    m_list.reread();
    const QFontMetrics metrics(m_list.font());
    const QLocale locale = QLocale::system();
    const int name = metrics.horizontalAdvance("XXXXXXXX.XXX");
    const int size = metrics.horizontalAdvance("888,888,888");
    const int date
        = metrics.horizontalAdvance(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    const int time = metrics.horizontalAdvance(
        locale.toString(QDateTime::currentDateTime(), locale.timeFormat(QLocale::LongFormat)));
    const int left = 7;

    struct Case {
        const char* name;
        OffsetType sizeOffset, dateOffset, timeOffset;
        bool showDate;
        ColumnEdges expected;
    };
    using enum OffsetType;
    const int sizeEdge = left + name + size + 45;
    const std::vector<Case> cases = {
        {"all relative", Relative, Relative, Relative, true,
            {sizeEdge, sizeEdge + date + 5, sizeEdge + date + 5 + time + 5}},
        {"hidden date leaves the running position", Relative, Relative, Relative, false,
            {sizeEdge, std::nullopt, sizeEdge + time + 5}},
        {"screen edge", ScreenEdge, ScreenEdge, Relative, true, {45, 5, 5 + time + 5}},
        {"left edge", LeftEdge, Relative, LeftEdge, true,
            {left + 45, left + 45 + date + 5, left + 5}},
    };
    m_list.setSizePos(45);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_list.setSizeOffset(c.sizeOffset);
        m_list.setDateOffset(c.dateOffset);
        m_list.setTimeOffset(c.timeOffset);
        m_list.setShowDate(c.showDate);
        const ColumnEdges edges = m_list.itemColumns(0, left).edges;
        EXPECT_EQ(edges.size, c.expected.size);
        EXPECT_EQ(edges.date, c.expected.date);
        EXPECT_EQ(edges.time, c.expected.time);
    }
}

TEST_F(FileBoxList, DirectoryEntryGetsNoColumnText)
{
    writeFile(dir(), "ROOM.EA", 5);
    fs::create_directory(JoinPath(dir(), "HALL.EA"));
    m_list.setFileType(FileTypes::FilesAndDirectories);
    ASSERT_EQ(itemTexts(m_list), (std::vector<std::string> {"[HALL.EA]", "ROOM.EA"}));

    const ItemColumns entry = m_list.itemColumns(0, 0);
    EXPECT_TRUE(entry.edges.size && entry.edges.date && entry.edges.time);
    EXPECT_EQ(entry.size + entry.date + entry.time, "");
    const ItemColumns file = m_list.itemColumns(1, 0);
    EXPECT_EQ(file.size, "5");
    EXPECT_FALSE(file.date.isEmpty());
    EXPECT_FALSE(file.time.isEmpty());
}

// Counts the dark (text) pixels of the item's row between x0 and x1.
int textPixels(const QImage& image, const QRect& row, int x0, int x1)
{
    int dark = 0;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, image.width()); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

TEST_F(FileBoxList, ItemsAreDrawnFromTheirColumns)
{
    writeFile(dir(), "ROOM.EA", 123);
    fs::create_directory(JoinPath(dir(), "HALL.EA"));
    m_list.setFileType(FileTypes::FilesAndDirectories);
    m_list.setItemHeight(13);
    m_list.resize(341, 163);
    m_list.setAttribute(Qt::WA_DontShowOnScreen);
    m_list.show();
    const QImage image = m_list.viewport()->grab().toImage();

    const QFontMetrics metrics(m_list.font());
    const int nameEnd = metrics.horizontalAdvance("XXXXXXXX.XXX");
    const QRect directoryRow = m_list.visualItemRect(m_list.item(0));
    const QRect fileRow = m_list.visualItemRect(m_list.item(1));
    EXPECT_EQ(fileRow.height(), 13);
    const ItemColumns file = m_list.itemColumns(1, fileRow.left());
    const int sizeLeft = *file.edges.size - metrics.horizontalAdvance(file.size);
    EXPECT_GT(textPixels(image, fileRow, fileRow.left() + 2, nameEnd), 0);
    EXPECT_GT(textPixels(image, fileRow, sizeLeft, *file.edges.size), 0);
    EXPECT_EQ(textPixels(image, fileRow, nameEnd, sizeLeft), 0); // the size is right-aligned
    EXPECT_GT(textPixels(image, directoryRow, directoryRow.left() + 2, nameEnd), 0);
    EXPECT_EQ(textPixels(image, directoryRow, nameEnd, image.width()), 0);
}

TEST_F(FileBoxList, SizeAndStampTexts)
{
    writeFile(dir(), "ROOM.EA", 1234567);
    const QDateTime stamp(QDate(2001, 5, 17), QTime(14, 3, 9));
    fs::last_write_time(JoinPath(dir(), "ROOM.EA"),
        std::chrono::file_clock::from_sys(
            std::chrono::sys_seconds(std::chrono::seconds(stamp.toSecsSinceEpoch()))));
    m_list.reread();
    const QLocale locale = QLocale::system();

    // Grouped by commas on every desktop: the program's numbers keep a
    // decimal point, so a "." between digits would read as one.
    ItemColumns columns = m_list.itemColumns(0, 0);
    EXPECT_EQ(columns.size, "1,234,567");
    EXPECT_EQ(columns.date, locale.toString(stamp.date(), QLocale::ShortFormat));
    EXPECT_EQ(columns.time, locale.toString(stamp, locale.timeFormat(QLocale::LongFormat)));

    m_list.setSeparator(false);
    EXPECT_EQ(m_list.itemColumns(0, 0).size, "1234567");
    EXPECT_EQ(
        m_list.columnWidths().size, QFontMetrics(m_list.font()).horizontalAdvance("888888888"));

    m_list.setShowTime(false);
    columns = m_list.itemColumns(0, 0);
    EXPECT_EQ(columns.time, "");
    EXPECT_FALSE(columns.edges.time);
}

TEST_F(FileBoxList, SettingAPropertyToItsValueDoesNotReread)
{
    m_list.reread();
    writeFile(dir(), "NEW.EA");
    m_list.setSizePos(0);
    m_list.setSeparator(true);
    m_list.setTimeOffset(OffsetType::Relative);
    EXPECT_EQ(m_list.count(), 0);
    m_list.setDatePos(6);
    EXPECT_EQ(itemTexts(m_list), std::vector<std::string> {"NEW.EA"});
}

TEST(FileBoxListing, StampsThatCannotBeConvertedShowTheZeroDateTime)
{
    const QDateTime zero(QDate(1899, 12, 30), QTime(0, 0));
    EXPECT_EQ(ListedDateTime(std::nullopt), zero);
    EXPECT_EQ(ListedDateTime(400'000'000'000LL), zero); // beyond the year 9999
    EXPECT_EQ(ListedDateTime(0), QDateTime::fromSecsSinceEpoch(0));
}

TEST(FileBoxListing, MaskMatchesWithoutRegardToCase)
{
    struct Case {
        std::string name, mask;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"ROOM.EA", "*.EA", true},
        {"room.ea", "*.EA", true},
        {"room.eax", "*.EA", false},
        {"room.aea", "*.EA", false},
        {"a.b.EA", "*.EA", true},
        {"EA", "*.EA", false},
        {".EA", "*.EA", true},
        {"x.OHM", "*.oh?", true},
        {"anything", "*", true},
        {"", "*", true},
        {"a", "", false},
        {"name.TXT", "*.*", true},
        {"a*b.c", "a*b.c", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " / " + c.mask);
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.expected);
    }
}

TEST(FileBoxListing, ListingLeavesOutHiddenAndOtherEntries)
{
    QTemporaryDir temp;
    const std::string dir = temp.path().toStdString();
    for (const char* name : {"c.EA", "B.ea", "a.EA", ".hidden.EA", "d.EE", "e.EAX"})
        writeFile(dir, name);
    fs::create_directory(JoinPath(dir, "SUB.EA"));
    fs::create_directory(JoinPath(dir, "other"));
    EXPECT_EQ(ListDirectory(dir, "*.EA", FileTypes::OrdinaryFiles),
        (std::vector<std::string> {"a.EA", "B.ea", "c.EA"}));
    EXPECT_EQ(ListDirectory(dir, "*.EA", FileTypes::FilesAndDirectories),
        (std::vector<std::string> {"[SUB.EA]", "a.EA", "B.ea", "c.EA"}));
    EXPECT_THROW(
        ListDirectory(dir + "/missing", "*.EA", FileTypes::OrdinaryFiles), InputOutputError);
}

TEST(FileBoxListing, LookUpOfAMissingFileGivesNothing)
{
    QTemporaryDir temp;
    writeFile(temp.path().toStdString(), "f.EA", 3);
    const FileDetails file = LookUpFile(JoinPath(temp.path().toStdString(), "f.EA"));
    EXPECT_EQ(file.size, 3u);
    EXPECT_TRUE(file.modifiedSeconds);
    const FileDetails missing = LookUpFile(JoinPath(temp.path().toStdString(), "g.EA"));
    EXPECT_EQ(missing.size, 0u);
    EXPECT_FALSE(missing.modifiedSeconds);
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
}

} // namespace
