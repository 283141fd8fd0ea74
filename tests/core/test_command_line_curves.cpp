#include "curves/CommandLineCurves.h"

#include "TempDir.h"
#include "ui/WindowFit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

TEST(CommandLineCurves, OnlyExistingCurveFilesAreOpenedInTheOrderGiven)
{
    const TempDir temp;
    const std::string d = temp.dir();
    for (const char* name : {"ROOM.AA", "amp.ee", "Mic.Ae", "SPEAKER.EA", "B70.OHM", "notes.txt",
             "Gr\u00F6\u00DFe \u00E4.ea", "EA", "x.EA.bak"})
        std::ofstream(d + name) << "x";
    fs::create_directory(d + "folder.EA");
    fs::create_symlink(d + "SPEAKER.EA", d + "link.ea");
    fs::create_symlink(d + "gone.EA", d + "dangling.EA");
    struct Case {
        const char* name;
        std::vector<std::string> args, expected;
    };
    const std::vector<Case> cases = {
        {"no arguments", {}, {}},
        {"switches alone", {"/Init", "/:"}, {}},
        {"every kind, any case, switches mixed in",
            {"ROOM.AA", "/Init", "amp.ee", "/:", "Mic.Ae", d + "SPEAKER.EA", "B70.OHM"},
            {d + "ROOM.AA", d + "amp.ee", d + "Mic.Ae", d + "SPEAKER.EA", d + "B70.OHM"}},
        {"order as given, repeats kept", {"B70.OHM", "ROOM.AA", "B70.OHM"},
            {d + "B70.OHM", d + "ROOM.AA", d + "B70.OHM"}},
        {"other extensions and names", {"notes.txt", "EA", "x.EA.bak", "--help", ""}, {}},
        {"missing file", {"missing.EA", d + "missing.OHM"}, {}},
        {"directory with a curve extension", {"folder.EA", d + "folder.EA/"}, {}},
        {"links followed", {"link.ea", "dangling.EA"}, {d + "link.ea"}},
        {"blanks and non-ASCII", {"Gr\u00F6\u00DFe \u00E4.ea"}, {d + "Gr\u00F6\u00DFe \u00E4.ea"}},
        {"relative path with folders",
            {"../" + fs::path(temp.dir()).parent_path().filename().string() + "/ROOM.AA"},
            {d + "../" + fs::path(temp.dir()).parent_path().filename().string() + "/ROOM.AA"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args {"voxa32vw"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(CurveFilesOnCommandLine(args, temp.dir()), c.expected);
    }
    // The program's own name is never a curve.
    EXPECT_EQ(CurveFilesOnCommandLine({d + "SPEAKER.EA"}, "/"), std::vector<std::string> {});
    // Without a trailing separator the current directory is joined alike.
    EXPECT_EQ(CurveFilesOnCommandLine({"v", "ROOM.AA"}, d.substr(0, d.size() - 1)),
        std::vector<std::string> {d + "ROOM.AA"});
}

TEST(CommandLineCurves, FolderOfAWholePath)
{
    EXPECT_EQ(FolderOf("/tmp/hd.x/MYSPK.EA"), "/tmp/hd.x/");
    EXPECT_EQ(FolderOf("/ROOM.AA"), "/");
    EXPECT_EQ(FolderOf("ROOM.AA"), "");
}

TEST(WindowFit, StoredSizeFittedToTheScreenAndKeptUntilChanged)
{
    const WindowSize screen {1280, 1024};
    struct Case {
        const char* name;
        WindowSize stored, shown;
    };
    const std::vector<Case> cases = {
        {"fits", {640, 480}, {640, 480}},
        {"exactly the screen", {1280, 1024}, {1280, 1024}},
        {"too wide and too high", {4000, 3000}, {1280, 1024}},
        {"largest stored size", {32767, 32767}, {1280, 1024}},
        {"too high only", {800, 2000}, {800, 1024}},
        {"below the smallest window: as stored", {100, -5}, {100, -5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowFit fit = FitWindowSize(c.stored, screen);
        EXPECT_EQ(fit.shown, c.shown);
        EXPECT_EQ(SavedWindowSize(fit, c.shown), c.stored);
        EXPECT_EQ(SavedWindowSize(fit, WindowSize {700, 520}), (WindowSize {700, 520}));
    }
}

} // namespace
