// The clean-up before a safe write removes the temporaries its own killed
// writes left, matched by their exact names: names holding the characters of
// shell patterns match nothing else; and the temporaries of writes whose
// writer is gone, never one of a running writer. Every legal name can be
// written, however long.

#include "TempDir.h"
#include "app/FileReplace.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
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

std::vector<std::string> namesIn(const std::string& directory)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(directory))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The writer fields of this process's temporaries: PID, START, BOOT, SPACE.
std::vector<std::string> ownWriterFields()
{
    const std::string name = fs::path(TemporaryNameFor("/d/x", kMarker)).filename().string();
    std::istringstream fields(name.substr(2 + kMarker.size()));
    std::vector<std::string> parts;
    for (std::string part; std::getline(fields, part, '-');)
        parts.push_back(part);
    return parts; // the last one is "XXXXXX"
}

TEST(FileReplace, EveryLegalNameHasATemporaryThatFits)
{
    const std::string euro = "\xe2\x82\xac";
    TempDir tmp;
    for (const std::string& name : {std::string("F"), std::string(231, 'a'), std::string(232, 'a'),
             std::string(255, 'b'), std::string(252, 'c') + euro}) {
        SCOPED_TRACE(name.size());
        const std::string temporary
            = fs::path(TemporaryNameFor(tmp.dir() + name, kMarker)).filename().string();
        EXPECT_LE(temporary.size(), 255u);
        EXPECT_TRUE(temporary.starts_with("." + name.substr(0, 150)));
        EXPECT_EQ(temporary.find("\xe2\x82X"), std::string::npos) << "a cut character";
        ASSERT_EQ(ReplaceFileContents(tmp.dir() + name, bytesOf("new"), kMarker), 0);
        EXPECT_EQ(namesIn(tmp.dir()).back(), name) << "only the file, no temporary";
        fs::remove(tmp.dir() + name);
    }
}

// Temporaries named by writers that ended (gone, another process under
// the same id, another boot) are removed by a write of any file beside
// them; those of this process and of another PID namespace stay.
TEST(FileReplace, CleanUpRemovesTemporariesOfEndedWritersOnly)
{
    const std::vector<std::string> own = ownWriterFields();
    ASSERT_EQ(own.size(), 5u);
    const auto nameOf = [](const std::string& target, const std::string& pid,
                            const std::string& start, const std::string& boot,
                            const std::string& space) {
        return "." + target + kMarker + pid + "-" + start + "-" + boot + "-" + space + "-Ab12Cd";
    };
    std::string otherBoot = own[2];
    otherBoot[0] = otherBoot[0] == 'a' ? 'b' : 'a';
    struct Case {
        std::string name;
        bool removed;
    };
    const std::vector<Case> cases {
        {nameOf("A.EE", own[0], own[1], own[2], own[3]), false}, // this process
        {nameOf("B.EE", own[0], own[1] + "1", own[2], own[3]), true}, // its id reused
        {nameOf("C.EE", "999999999", own[1], own[2], own[3]), true}, // no such process
        {nameOf("D.EE", own[0], own[1], otherBoot, own[3]), true}, // before a restart
        {nameOf("E.EE", "999999999", own[1], own[2], own[3] + "0"), false}, // unknowable
        {nameOf("F.EE", "99x", own[1], own[2], own[3]), false}, // not a temporary
        {"G.EE" + kMarker + "999999999-1-" + own[2] + "-" + own[3] + "-Ab12Cd",
            false}, // not hidden
    };
    for (const Cleanup cleanup : {Cleanup::EveryWrite, Cleanup::OncePerDirectory}) {
        TempDir tmp;
        for (const Case& c : cases)
            writeText(tmp.dir() + c.name, "killed");
        ASSERT_EQ(ReplaceFileContents(
                      tmp.dir() + "other.EE", bytesOf("new"), kMarker, {}, Flush::Lazily, cleanup),
            0);
        for (const Case& c : cases)
            EXPECT_EQ(fs::exists(tmp.dir() + c.name), !c.removed) << c.name << " " << int(cleanup);
    }
}

// Writers killed with SIGKILL in the middle of their writes leave
// temporaries; a write by a later process removes them all, while the
// temporary of a writer that still runs stays until it has ended.
TEST(FileReplace, KilledWritesLeaveNothingForLaterRunsButRunningOnesAreKept)
{
    TempDir tmp;
    const std::string big(1 << 20, 'x');
    std::mt19937 random(2808);
    std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
    for (int kill = 0; kill < 20; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (;;)
                ReplaceFileContents(tmp.dir() + "K" + std::to_string(kill % 3) + ".EE",
                    bytesOf(big), kMarker, {}, Flush::ToDisk, Cleanup::OncePerDirectory);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    }
    // A writer that runs: it holds its temporary until told to end.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t running = ::fork();
    ASSERT_GE(running, 0);
    if (running == 0) {
        std::string name = TemporaryNameFor(tmp.dir() + "R.EE", kMarker);
        name.replace(name.size() - 6, 6, "Ab12Cd");
        writeText(name, "half");
        [[maybe_unused]] const ssize_t n = ::write(ready[1], "r", 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);

    EXPECT_EQ(ReplaceFileContents(tmp.dir() + "later.EE", bytesOf("new"), kMarker), 0);
    const std::vector<std::string> kept = namesIn(tmp.dir());
    // The writer ends before any check can return, so a failure cannot leave
    // it holding the test's output open.
    ::kill(running, SIGKILL);
    ASSERT_EQ(::waitpid(running, nullptr, 0), running);
    const auto isTemporary = [](const std::string& name) { return name.starts_with("."); };
    ASSERT_EQ(std::count_if(kept.begin(), kept.end(), isTemporary), 1);
    EXPECT_TRUE(kept.front().starts_with(".R.EE" + kMarker)) << kept.front();

    ASSERT_EQ(ReplaceFileContents(tmp.dir() + "later.EE", bytesOf("new"), kMarker), 0);
    const std::vector<std::string> after = namesIn(tmp.dir());
    EXPECT_EQ(std::count_if(after.begin(), after.end(), isTemporary), 0);
}

} // namespace
