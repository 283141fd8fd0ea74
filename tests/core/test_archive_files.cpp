#include "curves/ArchiveFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

TEST(SplitFileList, NamesOfLinesOrNulSeparatedLists)
{
    using std::string_literals::operator""s;
    struct Case {
        std::string text;
        bool nul;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"", false, {}},
        {"a.EA\nb c.EA\n", false, {"a.EA", "b c.EA"}},
        {"a.EA\r\nb.EA", false, {"a.EA", "b.EA"}},
        {"\n\na.EA\n\n", false, {"a.EA"}},
        {"a\nb.EA\0c.EA\0"s, true, {"a\nb.EA", "c.EA"}},
        {"a.EA\r\0\0"s, true, {"a.EA\r"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitFileList(c.text, c.nul), c.names) << c.text;
}

class ArchiveWalk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path()
            / ("archive-walk-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                + "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string Make(const std::string& relative)
    {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
        return path.string();
    }
    fs::path root_;
};

TEST_F(ArchiveWalk, CurveFilesAtAnyDepthSortedByPath)
{
    const std::string b = Make("b/deep/B.ohm");
    const std::string a = Make("A.ea");
    const std::string c = Make("c.AA");
    Make("notes.txt");
    Make("EA");
    Make("b/x.frd");
    fs::create_directory_symlink(root_ / "b", root_ / "link");
    const ArchiveFiles walked = WalkCurveDirectory(root_.string());
    EXPECT_EQ(walked.files, (std::vector<std::string> {a, b, c}));
    EXPECT_TRUE(walked.problems.empty());
}

TEST_F(ArchiveWalk, NamesOtherThanDirectoriesKeptAsGiven)
{
    const std::string inner = Make("d/E.EE");
    const ArchiveFiles expanded = ExpandCurveNames({"missing.txt", (root_ / "d").string(), "z.EA"});
    EXPECT_EQ(expanded.files, (std::vector<std::string> {"missing.txt", inner, "z.EA"}));
}

} // namespace
