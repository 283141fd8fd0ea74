// A save killed at any moment leaves the configuration file whole: a child
// process saves records in a tight loop and is killed with SIGKILL at random
// moments; after every kill the file holds exactly one of the saved records.

#include "app/ConfigFile.h"
#include "app/SettingsRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

constexpr std::size_t kWords = kSettingsSize / sizeof(uint32_t);

// Record number n: every 32-bit word holds n, so a file mixed from two
// records, or cut short, shows at once.
SettingsRecord NumberedRecord(uint32_t n)
{
    std::array<uint32_t, kWords> words;
    words.fill(n);
    SettingsRecord r;
    std::memcpy(&r, words.data(), kSettingsSize);
    return r;
}

// The number of the record, or nothing when its words disagree.
std::optional<uint32_t> RecordNumber(const SettingsRecord& r)
{
    std::array<uint32_t, kWords> words;
    std::memcpy(words.data(), &r, kSettingsSize);
    for (uint32_t w : words)
        if (w != words[0])
            return std::nullopt;
    return words[0];
}

// Saves records 1, 2, 3, ... until killed; never returns.
[[noreturn]] void SaveForever(const std::string& path)
{
    for (uint32_t n = 1;; ++n)
        WriteConfigFile(path, NumberedRecord(n));
}

class ConfigKill : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "voxa-kill-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_path = ConfigPath(m_dir.string() + "/");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Files in the directory besides the configuration: temporary files of
    // saves that were killed before their rename.
    int leftoverFiles() const
    {
        int count = 0;
        for (const fs::directory_entry& e : fs::directory_iterator(m_dir))
            count += e.path() != fs::path(m_path);
        return count;
    }

    fs::path m_dir;
    std::string m_path;
};

TEST_F(ConfigKill, KilledSavesLeaveOneWholeRecord)
{
    ASSERT_TRUE(WriteConfigFile(m_path, NumberedRecord(0)));
    std::mt19937 random(6808); // fixed seed: the same kill moments every run
    std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
    int killsAfterASave = 0;
    constexpr int kKills = 60;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(kill);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            SaveForever(m_path);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        ASSERT_EQ(fs::file_size(m_path), kSettingsSize);
        SettingsRecord read;
        ASSERT_TRUE(ReadConfigFile(m_path, read));
        const std::optional<uint32_t> number = RecordNumber(read);
        ASSERT_TRUE(number.has_value()) << "a mix of two records";
        killsAfterASave += *number > 0;
    }
    EXPECT_GT(killsAfterASave, 0) << "the child never finished a save";
    // Killed saves may leave their temporary file behind (the old file stays
    // whole); the next save removes them.
    std::printf("after %d kills: %d leftover temporary files\n", kKills, leftoverFiles());
    ASSERT_TRUE(WriteConfigFile(m_path, NumberedRecord(1)));
    EXPECT_EQ(leftoverFiles(), 0);
}

} // namespace
