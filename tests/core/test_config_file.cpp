#include "app/ConfigFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "voxa-cfg-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string dir() const { return path_.string() + "/"; }

private:
    fs::path path_;
};

std::vector<char> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

SettingsRecord freshRecord()
{
    SettingsRecord r {};
    WriteFreshSettings(r);
    return r;
}

TEST(ConfigFile, SaveThenReadGivesTheSameRecord)
{
    TempDir tmp;
    const std::string path = ConfigPath(tmp.dir());
    SettingsRecord saved = freshRecord();
    saved.LevelTop = -37;
    saved.SplashLine1.assign("Lab 3");
    ASSERT_TRUE(WriteConfigFile(path, saved));
    EXPECT_EQ(fs::file_size(path), kSettingsSize);

    SettingsRecord loaded {};
    ASSERT_TRUE(ReadConfigFile(path, loaded));
    EXPECT_EQ(0, std::memcmp(&saved, &loaded, kSettingsSize));
    EXPECT_TRUE(fs::is_empty(tmp.dir()) == false);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.dir()), {}), 1) << "no temporary left";
}

TEST(ConfigFile, MissingOrShortFilesFail)
{
    TempDir tmp;
    const std::string path = ConfigPath(tmp.dir());
    SettingsRecord r {};
    EXPECT_FALSE(ReadConfigFile(path, r));
    writeBytes(path, std::vector<char>(kSettingsSize - 1, 0));
    EXPECT_FALSE(ReadConfigFile(path, r));
    fs::create_directory(tmp.dir() + "dir");
    EXPECT_FALSE(ReadConfigFile(tmp.dir() + "dir", r));
}

TEST(ConfigFile, LongerFileLoadsItsFirstBytesAndIsExactAfterSave)
{
    TempDir tmp;
    const std::string path = ConfigPath(tmp.dir());
    ASSERT_TRUE(WriteConfigFile(path, freshRecord()));
    auto bytes = fileBytes(path);
    bytes.resize(kSettingsSize + 100, 'x');
    writeBytes(path, bytes);

    SettingsRecord r {};
    ASSERT_TRUE(ReadConfigFile(path, r));
    EXPECT_EQ(r.WindowWidth, 640);
    ASSERT_TRUE(WriteConfigFile(path, r));
    EXPECT_EQ(fs::file_size(path), kSettingsSize);
}

TEST(ConfigFile, InitSwitchInAnyCaseAndPositionReplacesTheFile)
{
    for (const std::vector<std::string>& args : {std::vector<std::string> {"voxa32vw", "/init"},
             {"voxa32vw", "/:", "/INIT"}, {"voxa32vw", "/iNiT", "other"}}) {
        TempDir tmp;
        const std::string path = ConfigPath(tmp.dir());
        SettingsRecord old = freshRecord();
        old.GridColor = 0x123456;
        old.SplashLine1.assign("old");
        ASSERT_TRUE(WriteConfigFile(path, old));

        SettingsRecord r {};
        ASSERT_TRUE(LoadSettingsFile(args, path, r));
        EXPECT_EQ(r.GridColor, 0x808080u);
        EXPECT_EQ(r.SplashLine1.length, 0);
    }
}

TEST(ConfigFile, FindSwitchReturnsTheLastMatchingPosition)
{
    const std::vector<std::string> args {"prog", "/:", "x", "/INIT", "/init"};
    EXPECT_EQ(FindSwitch(args, "/Init"), 4);
    EXPECT_EQ(FindSwitch(args, "/:"), 1);
    EXPECT_EQ(FindSwitch(args, "/nope"), 0);
    EXPECT_EQ(FindSwitch({"/Init"}, "/Init"), 0) << "the program name is not an argument";
}

TEST(ConfigFile, PathIsCutAt255Characters)
{
    const std::string dir = "/" + std::string(250, 'd') + "/";
    const std::string path = ConfigPath(dir);
    EXPECT_EQ(path.size(), 255u);
    EXPECT_EQ(path.substr(0, 252), dir);
    SettingsRecord r {};
    EXPECT_FALSE(LoadSettingsFile({"p"}, path, r));
}

// Saves onto a small file system made for the test; needs the right to mount.
class ConfigFileOnTmpfs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (::mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=24k") != 0)
            GTEST_SKIP() << "mounting a tmpfs is not allowed here";
        mounted_ = true;
        path_ = ConfigPath(mountPoint_ + "/");
        SettingsRecord old = freshRecord();
        old.LevelTop = 42;
        ASSERT_TRUE(WriteConfigFile(path_, old));
        oldBytes_ = fileBytes(path_);
    }
    void TearDown() override
    {
        if (mounted_)
            ::umount2(mountPoint_.c_str(), MNT_DETACH);
    }
    void expectOldFileWhole()
    {
        EXPECT_EQ(fileBytes(path_), oldBytes_);
        SettingsRecord r {};
        ASSERT_TRUE(ReadConfigFile(path_, r));
        EXPECT_EQ(r.LevelTop, 42);
    }

    TempDir tmp_;
    std::string mountPoint_ = tmp_.dir();
    std::string path_;
    std::vector<char> oldBytes_;
    bool mounted_ = false;
};

TEST_F(ConfigFileOnTmpfs, FullDiskLeavesTheOldFileWhole)
{
    writeBytes(mountPoint_ + "/filler", std::vector<char>(64 * 1024, 'f')); // fills it up
    SettingsRecord changed = freshRecord();
    changed.LevelTop = 7;
    EXPECT_FALSE(WriteConfigFile(path_, changed));
    expectOldFileWhole();
}

TEST_F(ConfigFileOnTmpfs, ReadOnlyDirectoryLeavesTheOldFileWhole)
{
    ASSERT_EQ(::mount(nullptr, mountPoint_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    SettingsRecord changed = freshRecord();
    changed.LevelTop = 7;
    EXPECT_FALSE(WriteConfigFile(path_, changed));
    expectOldFileWhole();
}

} // namespace
