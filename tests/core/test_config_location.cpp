#include "app/ConfigFile.h"
#include "app/ConfigLocation.h"
#include "app/FileReplace.h"
#include "dialogs/FileNameRules.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace
{

// Sets the process's umask for the test's scope (the tests run on one thread).
class ScopedUmask
{
public:
    explicit ScopedUmask(mode_t mask)
        : old_(::umask(mask))
    {
    }
    ~ScopedUmask() { ::umask(old_); }

private:
    mode_t old_;
};

mode_t modeOf(const std::string& path)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

SettingsRecord freshRecord()
{
    SettingsRecord r {};
    WriteFreshSettings(r);
    return r;
}

TEST(ConfigLocation, UserCopyFollowsXdgConfigHomeElseHome)
{
    struct Case {
        const char* what;
        const char* xdg;
        const char* home;
        std::optional<std::string> expected;
    };
    const std::string file = "voxa32vw/VOXA32VW.CFG";
    for (const Case& c : {
             Case {"XDG_CONFIG_HOME set", "/cfg", "/home/ann", "/cfg/" + file},
             Case {"with a trailing slash", "/cfg/", "/home/ann", "/cfg/" + file},
             Case {"unset", nullptr, "/home/ann", "/home/ann/.config/" + file},
             Case {"empty", "", "/home/ann/", "/home/ann/.config/" + file},
             Case {"relative, to be ignored", "cfg", "/home/ann", "/home/ann/.config/" + file},
             Case {"set, no home", "/cfg", nullptr, "/cfg/" + file},
             Case {"no home", nullptr, nullptr, std::nullopt},
             Case {"empty home", nullptr, "", std::nullopt},
             Case {"relative home", "cfg", "home/ann", std::nullopt},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(UserConfigPath(c.xdg, c.home), c.expected);
    }
}

TEST(ConfigLocation, WritableFolderKeepsTheFileBesideTheProgramElseTheUsersCopyIsWritten)
{
    const std::string program = "/opt/voxa/VOXA32VW.CFG";
    const std::string user = "/home/ann/.config/voxa32vw/VOXA32VW.CFG";
    struct Case {
        const char* what;
        bool writable;
        std::optional<std::string> userPath;
        bool userCopyExists;
        ConfigLocation expected;
    };
    for (const Case& c : {
             Case {"writable folder", true, user, false, {program, program}},
             Case {"writable folder, a user copy exists", true, user, true, {program, program}},
             Case {"read-only folder, no user copy yet", false, user, false, {program, user}},
             Case {"read-only folder with a user copy", false, user, true, {user, user}},
             Case {"read-only folder, no home", false, std::nullopt, false, {program, program}},
         }) {
        SCOPED_TRACE(c.what);
        const ConfigLocation got
            = ChooseConfigLocation("/opt/voxa/", c.writable, c.userPath, c.userCopyExists);
        EXPECT_EQ(got.readPath, c.expected.readPath);
        EXPECT_EQ(got.savePath, c.expected.savePath);
    }
}

TEST(ConfigLocation, FileBoxStartsInTheInstalledCurvesOfAReadOnlyFolder)
{
    EXPECT_EQ(InstalledCurvesDirectory("/usr/bin/"), "/usr/share/voxa32vw/curves/");
    EXPECT_EQ(InstalledCurvesDirectory("/opt/v/bin//"), "/opt/v/share/voxa32vw/curves/");
    EXPECT_EQ(InstalledCurvesDirectory("/"), "/share/voxa32vw/curves/");
    EXPECT_EQ(InstalledCurvesDirectory("bin/"), "share/voxa32vw/curves/");
    EXPECT_EQ(InstalledCurvesDirectory(""), "../share/voxa32vw/curves/");

    const std::string installed = "/usr/share/voxa32vw/curves/";
    EXPECT_EQ(ChooseDefaultCurveDirectory("/usr/bin/", false, true), installed);
    EXPECT_EQ(ChooseDefaultCurveDirectory("/usr/bin/", false, false), "/usr/bin/");
    EXPECT_EQ(ChooseDefaultCurveDirectory("/usr/bin/", true, true), "/usr/bin/");
    EXPECT_EQ(ChooseDefaultCurveDirectory("/usr/bin/", true, false), "/usr/bin/");
}

TEST(ConfigLocation, AWritableProgramFolderOnDiskKeepsItsFile)
{
    TempDir tmp;
    fs::create_directories(tmp.dir() + "share/voxa32vw/curves");
    fs::create_directory(tmp.dir() + "bin");
    const ConfigLocation found = FindConfigLocation(tmp.dir() + "bin/");
    EXPECT_EQ(found.readPath, tmp.dir() + "bin/VOXA32VW.CFG");
    EXPECT_EQ(found.savePath, tmp.dir() + "bin/VOXA32VW.CFG");
    EXPECT_EQ(FindDefaultCurveDirectory(tmp.dir() + "bin/"), tmp.dir() + "bin/");
}

TEST(ConfigLocation, InitWritesAFreshUserCopyAndLeavesTheSiteFile)
{
    TempDir tmp;
    const ConfigLocation where {
        tmp.dir() + "site/VOXA32VW.CFG", tmp.dir() + "home/.config/voxa32vw/VOXA32VW.CFG"};
    SettingsRecord site = freshRecord();
    site.GridColor = 0x123456;
    ASSERT_TRUE(WriteConfigFile(where.readPath, site));
    const auto siteTime = fs::last_write_time(where.readPath);

    SettingsRecord r {};
    ASSERT_TRUE(LoadSettingsFile({"voxa32vw"}, where, r));
    EXPECT_EQ(r.GridColor, 0x123456u) << "the site's file is read before a user copy exists";
    EXPECT_FALSE(fs::exists(where.savePath));

    ASSERT_TRUE(LoadSettingsFile({"voxa32vw", "/Init"}, where, r));
    EXPECT_EQ(r.GridColor, 0x808080u);
    ASSERT_TRUE(ReadConfigFile(where.savePath, r));
    EXPECT_EQ(r.GridColor, 0x808080u);
    EXPECT_EQ(fs::last_write_time(where.readPath), siteTime);
    ASSERT_TRUE(ReadConfigFile(where.readPath, r));
    EXPECT_EQ(r.GridColor, 0x123456u);
}

TEST(ConfigLocation, SaveMakesTheMissingDirectoriesPrivateAndLeavesExistingOnes)
{
    const ScopedUmask mask(022);
    TempDir tmp;
    fs::create_directory(tmp.dir() + "home");
    fs::permissions(tmp.dir() + "home", fs::perms(0751));
    const std::string path = tmp.dir() + "home/.config/voxa32vw/VOXA32VW.CFG";
    ASSERT_TRUE(WriteConfigFile(path, freshRecord()));
    EXPECT_EQ(modeOf(tmp.dir() + "home"), 0751u);
    EXPECT_EQ(modeOf(tmp.dir() + "home/.config"), 0700u);
    EXPECT_EQ(modeOf(tmp.dir() + "home/.config/voxa32vw"), 0700u);
    EXPECT_EQ(modeOf(path), 0644u);
}

TEST(FileModes, NewFilesTakeTheUmaskAndReplacedFilesKeepTheirMode)
{
    const unsigned char bytes[] = {'v', 'o', 'x', 'a'};
    for (const mode_t mask : {mode_t(077), mode_t(022), mode_t(027), mode_t(002)}) {
        SCOPED_TRACE(mask);
        const ScopedUmask scoped(mask);
        TempDir tmp;
        const std::string fresh = tmp.dir() + "NEW.EA.frd";
        ASSERT_EQ(ReplaceFileContents(fresh, bytes, ".test."), 0);
        EXPECT_EQ(modeOf(fresh), 0666 & ~mask);

        const std::string kept = tmp.dir() + "OLD.EA.frd";
        std::ofstream(kept) << "old";
        ::chmod(kept.c_str(), 0640);
        ASSERT_EQ(ReplaceFileContents(kept, bytes, ".test."), 0);
        EXPECT_EQ(modeOf(kept), 0640u);
        EXPECT_EQ(fs::file_size(kept), sizeof bytes);

        const std::string config = ConfigPath(tmp.dir());
        ASSERT_TRUE(WriteConfigFile(config, freshRecord()));
        EXPECT_EQ(modeOf(config), 0666 & ~mask);
        EXPECT_EQ(std::distance(fs::directory_iterator(tmp.dir()), {}), 3) << "no temporary left";
    }
}

} // namespace

TEST(ConfigLocation, AProgramFolderOfAnyLengthFindsItsFileWhole)
{
    TempDir tmp;
    std::string folder = tmp.dir();
    while (folder.size() < 300)
        folder += std::string(40, 'd') + "/";
    fs::create_directories(folder);
    EXPECT_EQ(ProgramDirectoryOf(folder + "voxa32vw"), folder);
    const std::string path = ConfigPath(folder);
    EXPECT_EQ(path, folder + "VOXA32VW.CFG");
    EXPECT_EQ(FindConfigLocation(folder).readPath, path);

    SettingsRecord written = freshRecord();
    written.GridColor = 0x654321;
    ASSERT_TRUE(WriteConfigFile(path, written));
    SettingsRecord read {};
    ASSERT_TRUE(ReadConfigFile(path, read));
    EXPECT_EQ(read.GridColor, 0x654321u);
}

TEST(ConfigLocation, PicturesFolderAsXdgUserDirNamesIt)
{
    struct Case {
        const char* what;
        std::string userDirs;
        std::optional<std::string> expected;
    };
    for (const Case& c : {
             Case {"under home", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "/home/ann/Bilder"},
             Case {"absolute", "# comment\nXDG_PICTURES_DIR=\"/data/pics\"", "/data/pics"},
             Case {"home itself", "XDG_PICTURES_DIR=\"$HOME/\"\n", "/home/ann/"},
             Case {"the last line counts",
                 "XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"$HOME/b\"\n", "/home/ann/b"},
             Case {"other folders only", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", std::nullopt},
             Case {"relative, to be ignored", "XDG_PICTURES_DIR=\"Pictures\"\n", std::nullopt},
             Case {"no closing quote", "XDG_PICTURES_DIR=\"\n", std::nullopt},
             Case {"$HOMEX is no home", "XDG_PICTURES_DIR=\"$HOMEX/p\"\n", std::nullopt},
             Case {"empty text", "", std::nullopt},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PicturesDirectoryOf(c.userDirs, "/home/ann"), c.expected);
    }
}

TEST(ConfigLocation, BmpBoxOfAnInstalledProgramOffersPicturesElseHome)
{
    const std::optional<std::string> pictures = "/home/ann/Pictures";
    EXPECT_EQ(ChooseDefaultBmpDirectory(true, pictures, true, "/home/ann"), "");
    EXPECT_EQ(ChooseDefaultBmpDirectory(false, pictures, true, "/home/ann"), "/home/ann/Pictures/");
    EXPECT_EQ(ChooseDefaultBmpDirectory(false, pictures, false, "/home/ann"), "/home/ann/");
    EXPECT_EQ(ChooseDefaultBmpDirectory(false, std::nullopt, false, "/home/ann/"), "/home/ann/");
    EXPECT_EQ(ChooseDefaultBmpDirectory(false, std::nullopt, false, ""), "");

    TempDir tmp;
    EXPECT_EQ(BmpDirectoryToOffer("/stored/", tmp.dir()), "/stored/");
    EXPECT_EQ(BmpDirectoryToOffer("", tmp.dir()), ""); // a writable program folder
}
