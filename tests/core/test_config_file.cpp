#include "app/ConfigFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

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
        ASSERT_TRUE(LoadSettingsFile(args, {path, path}, r));
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

// The start-up names the file that failed and why; where it read the site's
// file, also the user's copy it looked for first.
TEST(ConfigFile, FailedLoadSaysWhichFileWhereAndWhy)
{
    TempDir tmp;
    const std::string missing = tmp.dir() + "MISSING.CFG";
    const std::string folder = tmp.dir() + "folder";
    const std::string shortFile = tmp.dir() + "SHORT.CFG";
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    std::ofstream(shortFile) << "short";
    struct Case {
        std::vector<std::string> args;
        ConfigLocation where;
        std::vector<std::string> problem;
    };
    const std::vector<Case> cases {
        {{"p"}, {missing, missing}, {missing + ": not found"}},
        {{"p"}, {folder, folder}, {folder + ": a directory, not a file"}},
        {{"p"}, {shortFile, shortFile}, {shortFile + ": only 5 of 6808 bytes"}},
        {{"p"}, {missing, tmp.dir() + "user.cfg"},
            {missing + ": not found", "(nor the user's copy " + tmp.dir() + "user.cfg)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where.readPath);
        SettingsRecord r {};
        EXPECT_EQ(LoadSettingsFile(c.args, c.where, r).problem, c.problem);
    }
    // "/Init" into a file that cannot be made: the directory is a file.
    const std::string underFile = shortFile + "/VOXA32VW.CFG";
    SettingsRecord r {};
    const LoadOutcome init = LoadSettingsFile({"p", "/Init"}, {underFile, underFile}, r);
    ASSERT_EQ(init.problem.size(), 2u);
    EXPECT_EQ(init.problem[0], underFile + " cannot be written:");
    EXPECT_EQ(init.problem[1], std::strerror(ENOTDIR));
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
    EXPECT_EQ(WriteConfigFile(path_, changed).error, EROFS) << "the failure is told";
    expectOldFileWhole();
}

// A directory that takes no new file, holding a configuration the user may
// write: a read-only small file system with a writable file mounted on the
// configuration's name (root ignores the permission bits of a directory), or,
// for other users, a directory without write permission.
class ConfigFileInReadOnlyDirectory : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir_ = tmp_.dir() + "program/";
        fs::create_directory(dir_);
        path_ = ConfigPath(dir_);
        // Longer than a record, so that the in-place write must cut it.
        writeBytes(writable_, std::vector<char>(kSettingsSize + 100, 'o'));
        if (::geteuid() != 0) {
            writeBytes(path_, std::vector<char>(kSettingsSize + 100, 'o'));
            fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
            return;
        }
        if (::mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=24k") != 0)
            GTEST_SKIP() << "mounting a tmpfs is not allowed here";
        mounted_.push_back(dir_);
        writeBytes(path_, {});
        ASSERT_EQ(::mount(writable_.c_str(), path_.c_str(), nullptr, MS_BIND, nullptr), 0);
        mounted_.push_back(path_);
        ASSERT_EQ(::mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    }
    void TearDown() override
    {
        for (auto it = mounted_.rbegin(); it != mounted_.rend(); ++it)
            ::umount2(it->c_str(), MNT_DETACH);
        fs::permissions(dir_, fs::perms::owner_all);
    }

    TempDir tmp_;
    std::string writable_ = tmp_.dir() + "writable";
    std::string dir_;
    std::string path_;
    std::vector<std::string> mounted_;
};

TEST_F(ConfigFileInReadOnlyDirectory, WritesTheFileInPlace)
{
    SettingsRecord changed = freshRecord();
    changed.LevelTop = 7;
    ASSERT_TRUE(WriteConfigFile(path_, changed));
    SettingsRecord r {};
    ASSERT_TRUE(ReadConfigFile(path_, r));
    EXPECT_EQ(r.LevelTop, 7);
    EXPECT_EQ(fs::file_size(path_), kSettingsSize);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1) << "nothing else made";
}

TEST_F(ConfigFileInReadOnlyDirectory, AFileThatCannotBeWrittenEitherIsAFailureTold)
{
    fs::permissions(::geteuid() == 0 ? writable_ : path_, fs::perms::owner_read);
    if (::geteuid() == 0) {
        ASSERT_EQ(
            ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0);
    }
    const std::vector<char> before = fileBytes(path_);
    SettingsRecord changed = freshRecord();
    changed.LevelTop = 7;
    const SaveOutcome outcome = WriteConfigFile(path_, changed);
    EXPECT_FALSE(outcome);
    EXPECT_NE(outcome.error, 0);
    EXPECT_EQ(fileBytes(path_), before);
}

TEST(ConfigFile, SaveRemovesOnlyItsOwnTemporaries)
{
    TempDir tmp;
    const std::string path = ConfigPath(tmp.dir());
    ASSERT_TRUE(WriteConfigFile(path, freshRecord()));
    const std::vector<std::string> users {"VOXA32VW.CFG.backup", "VOXA32VW.CFG.123456",
        "VOXA32VW.CFG.XXXXXX", ".VOXA32VW.CFG.abcdef"};
    for (const std::string& name : users)
        writeBytes(tmp.dir() + name, {'u', 's', 'e', 'r'});
    const std::string stale = tmp.dir() + ".VOXA32VW.CFG.voxa32vw-save.Ab12Cd";
    writeBytes(stale, {'k', 'i', 'l', 'l', 'e', 'd'});

    ASSERT_TRUE(WriteConfigFile(path, freshRecord()));
    for (const std::string& name : users) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fileBytes(tmp.dir() + name), (std::vector<char> {'u', 's', 'e', 'r'}));
    }
    EXPECT_FALSE(fs::exists(stale)) << "a temporary of a killed save";
}

TEST(ConfigFile, SaveKeepsTheFilesMode)
{
    for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0664)}) {
        SCOPED_TRACE(int(mode));
        TempDir tmp;
        const std::string path = ConfigPath(tmp.dir());
        ASSERT_TRUE(WriteConfigFile(path, freshRecord()));
        fs::permissions(path, mode);
        ASSERT_TRUE(WriteConfigFile(path, freshRecord()));
        EXPECT_EQ(fs::status(path).permissions(), mode);
    }
}

TEST(ConfigFile, SaveWritesThroughASymbolicLink)
{
    struct Case {
        const char* what;
        std::string target; // as the link names it
        bool targetExists;
    };
    for (const Case& c : {Case {"relative", "../real/voxa.cfg", true}, Case {"absolute", "", true},
             Case {"dangling", "../real/new.cfg", false}}) {
        SCOPED_TRACE(c.what);
        TempDir tmp;
        fs::create_directory(tmp.dir() + "program");
        fs::create_directory(tmp.dir() + "real");
        const std::string link = ConfigPath(tmp.dir() + "program/");
        const std::string linked = c.target.empty() ? tmp.dir() + "real/voxa.cfg" : c.target;
        const fs::path target = fs::path(tmp.dir() + "program") / linked;
        if (c.targetExists) {
            ASSERT_TRUE(WriteConfigFile(target, freshRecord()));
        }
        fs::create_symlink(linked, link);

        SettingsRecord changed = freshRecord();
        changed.LevelTop = 7;
        ASSERT_TRUE(WriteConfigFile(link, changed));
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link), linked);
        SettingsRecord r {};
        ASSERT_TRUE(ReadConfigFile(target, r));
        EXPECT_EQ(r.LevelTop, 7);
        EXPECT_EQ(std::distance(fs::directory_iterator(tmp.dir() + "real"), {}), 1)
            << "no temporary left beside the target";
    }
}

TEST(ConfigFile, LinksInALoopAreAFailure)
{
    TempDir tmp;
    const std::string path = ConfigPath(tmp.dir());
    fs::create_symlink("VOXA32VW.CFG", path);
    EXPECT_EQ(WriteConfigFile(path, freshRecord()).error, ELOOP);
    EXPECT_TRUE(fs::is_symlink(path));
}

} // namespace
