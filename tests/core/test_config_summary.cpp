#include "app/ConfigSummary.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{

SettingsRecord freshRecord()
{
    SettingsRecord r {};
    WriteFreshSettings(r);
    return r;
}

const ConfigField& field(const std::vector<ConfigField>& fields, const std::string& key)
{
    for (const ConfigField& f : fields)
        if (f.key == key)
            return f;
    throw std::runtime_error("no field " + key);
}

} // namespace

TEST(ConfigSummary, ColoursInWords)
{
    EXPECT_EQ(ColourInWords(0x808080), "#808080");
    EXPECT_EQ(ColourInWords(0x00FFFF), "#FFFF00"); // 0x00BBGGRR: red and green
    EXPECT_EQ(ColourInWords(0xCC6633), "#3366CC");
    EXPECT_EQ(ColourInWords(kButtonFaceColour), "system colour 15 (button face)");
    EXPECT_EQ(ColourInWords(0x80000005), "system colour 5");
    EXPECT_EQ(ColourInWords(0x12345678), "0x12345678");
}

TEST(ConfigSummary, FreshRecordInWordsAndJson)
{
    SettingsRecord r = freshRecord();
    r.CurveDirectory.assign("/home/ann/curves/");
    r.PrintLandscape = 1;
    r.SerialResistor = 0.2f;
    const std::vector<ConfigField> fields
        = DescribeConfig({"/site/VOXA32VW.CFG", "/home/ann/.config/voxa32vw/VOXA32VW.CFG"}, r,
            {"/usr/share/voxa32vw/curves/", "/home/ann/Pictures/"});
    struct Case {
        const char* key;
        const char* text;
        const char* json;
    };
    for (const Case& c : {
             Case {"file", "/site/VOXA32VW.CFG", "\"/site/VOXA32VW.CFG\""},
             Case {"saveFile", "/home/ann/.config/voxa32vw/VOXA32VW.CFG",
                 "\"/home/ann/.config/voxa32vw/VOXA32VW.CFG\""},
             Case {"gridColour", "#808080", "\"#808080\""},
             Case {"axisPanelColour", "system colour 15 (button face)",
                 "\"system colour 15 (button face)\""},
             Case {"curveDirectory", "/home/ann/curves/", "\"/home/ann/curves/\""},
             Case {"bmpDirectory", "(empty: the file box starts in /home/ann/Pictures/)", "\"\""},
             Case {"printLandscape", "landscape", "true"},
             Case {"printToBmp", "the printer", "false"},
             Case {"soundOn", "off", "false"},
             Case {"serialResistor", "0.2 Ohm", "0.2"},
             Case {"referenceVoltage", "2.83 V", "2.83"},
             Case {"levelRange", "60 dB", "60"},
             Case {"impedanceStep", "50 Ohm", "50"},
             Case {"windowWidth", "640 pixels", "640"},
             Case {"windowState", "normal", "\"normal\""},
             Case {"splashLine1", "(empty)", "\"\""},
             Case {"responseUnit", "dBSPL/W/m", "\"dBSPL/W/m\""},
         }) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(field(fields, c.key).text, c.text);
        EXPECT_EQ(field(fields, c.key).json, c.json);
    }

    const std::string text = FormatConfigText(fields);
    EXPECT_NE(text.find("Configuration file:             /site/VOXA32VW.CFG\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Serial resistor:                0.2 Ohm\n"), std::string::npos) << text;
    const std::string json = FormatConfigJson(fields);
    EXPECT_TRUE(json.starts_with("{\n  \"file\": \"/site/VOXA32VW.CFG\",\n")) << json;
    EXPECT_TRUE(json.ends_with("\n  \"soundOn\": false\n}\n")) << json;
}

TEST(ConfigSummary, OneFileAndEmptyBmpDirectoryAsTheCurveBox)
{
    SettingsRecord r = freshRecord();
    r.SerialResistor = std::numeric_limits<float>::infinity();
    const std::vector<ConfigField> fields
        = DescribeConfig({"/opt/v/VOXA32VW.CFG", "/opt/v/VOXA32VW.CFG"}, r, {"/opt/v/", ""});
    EXPECT_EQ(fields[1].key, "gridColour"); // no second file
    EXPECT_EQ(field(fields, "bmpDirectory").text, "(empty: the file box starts in /opt/v/)");
    EXPECT_EQ(field(fields, "serialResistor").json, "null");
}

TEST(ConfigSummary, DirectoryFieldIsTheAbsoluteFolderWithASlash)
{
    TempDir tmp;
    const std::string real = std::filesystem::canonical(tmp.dir()).string() + "/";
    std::filesystem::create_directory(tmp.dir() + "curves");
    std::ofstream(tmp.dir() + "file") << "x";
    std::filesystem::create_directory_symlink(tmp.dir() + "curves", tmp.dir() + "link");
    std::string deep = tmp.dir();
    while (deep.size() < 300)
        deep += std::string(50, 'd') + "/";
    std::filesystem::create_directories(deep);

    struct Case {
        std::string argument, text, problem;
    };
    for (const Case& c : {
             Case {"", "", ""},
             Case {tmp.dir() + "curves", real + "curves/", ""},
             Case {tmp.dir() + "curves/", real + "curves/", ""},
             Case {tmp.dir() + "curves/../curves/.", real + "curves/", ""},
             Case {tmp.dir() + "link", real + "curves/", ""},
             Case {"/", "/", ""},
             Case {tmp.dir() + "missing", "", "no such directory"},
             Case {tmp.dir() + "file", "", "not a directory"},
         }) {
        SCOPED_TRACE(c.argument);
        const DirectoryFieldText got = DirectoryFieldFor(c.argument);
        EXPECT_EQ(got.text, c.text);
        EXPECT_EQ(got.problem, c.problem);
    }
    const DirectoryFieldText tooLong = DirectoryFieldFor(deep);
    EXPECT_EQ(tooLong.text, "");
    EXPECT_NE(tooLong.problem.find("at most 255"), std::string::npos) << tooLong.problem;

    // A path of exactly 255 characters with its '/' fits.
    std::string fits = real;
    fits += std::string(254 - fits.size(), 'f');
    std::filesystem::create_directory(fits);
    EXPECT_EQ(DirectoryFieldFor(fits).text, fits + "/");
    EXPECT_EQ(DirectoryFieldFor(fits).text.size(), 255u);
}
