// The clean-up before a safe write removes the temporaries its own killed
// writes left, matched by their exact names: names holding the characters of
// shell patterns match nothing else.

#include "TempDir.h"
#include "app/FileReplace.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

const std::string kMarker = ".test-write.";

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::span<const unsigned char> bytesOf(const std::string& text)
{
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

TEST(FileReplace, TemporaryNamesMatchExactly)
{
    struct Case {
        std::string name, target;
        bool temporary;
    };
    const std::vector<Case> cases {
        {".F1.EE.test-write.Ab12Cd", "F1.EE", true},
        {".F1.EE.test-write.Ab12Cd", "*1.EE", false},
        {".F1.EE.test-write.Ab12Cd", "?1.EE", false},
        {".F1.EE.test-write.Ab12Cd", "[F]1.EE", false},
        {".*1.EE.test-write.Ab12Cd", "*1.EE", true},
        {".[F]1.EE.test-write.Ab12Cd", "[F]1.EE", true},
        {".F1.EE.test-write.Ab12C", "F1.EE", false}, // five characters
        {".F1.EE.test-write.Ab12Cde", "F1.EE", false}, // seven
        {"F1.EE.test-write.Ab12Cd", "F1.EE", false}, // not hidden
        {".F1.EE.test-write.Ab12Cd.test-write.Xy34Zw", "F1.EE", false},
        {".F1.EE.other-write.Ab12Cd", "F1.EE", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " of " + c.target);
        EXPECT_EQ(IsTemporaryOf(c.name, c.target, kMarker), c.temporary);
    }
}

// Leftovers of killed writes of "*1.EE" and "F1.EE" beside each other; each
// write removes its own and no other.
TEST(FileReplace, CleanUpRemovesOnlyTheTargetsTemporaries)
{
    for (const Cleanup cleanup : {Cleanup::EveryWrite, Cleanup::OncePerDirectory}) {
        SCOPED_TRACE(int(cleanup));
        TempDir tmp;
        const std::string star = tmp.dir() + ".*1.EE" + kMarker + "Ab12Cd";
        const std::string plain = tmp.dir() + ".F1.EE" + kMarker + "Ab12Cd";
        const std::string question = tmp.dir() + ".?1.EE" + kMarker + "Ab12Cd";
        for (const std::string& path : {star, plain, question})
            writeText(path, "killed");

        ASSERT_EQ(ReplaceFileContents(
                      tmp.dir() + "*1.EE", bytesOf("new"), kMarker, {}, Flush::Lazily, cleanup),
            0);
        EXPECT_FALSE(fs::exists(star));
        EXPECT_TRUE(fs::exists(plain)) << "another file's temporary";
        EXPECT_TRUE(fs::exists(question)) << "another file's temporary";

        ASSERT_EQ(ReplaceFileContents(
                      tmp.dir() + "F1.EE", bytesOf("new"), kMarker, {}, Flush::Lazily, cleanup),
            0);
        EXPECT_FALSE(fs::exists(plain));
        EXPECT_TRUE(fs::exists(question));
    }
}

} // namespace
