#include "UiFixture.h"

#include "app/qt/Startup.h"
#include "app/qt/TBox.h"
#include "curves/ExampleCurves.h"
#include "curves/LoadState.h"
#include "curves/qt/LoadFlows.h"
#include "dialogs/qt/TExtFileListBox.h"
#include "dialogs/qt/TFileBox.h"
#include "plot/PlotState.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/TMainForm.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <cmath>
#include <cstring>

namespace
{

constexpr QRgb kLime = 0x00FF00, kAqua = 0x00FFFF, kFuchsia = 0xFF00FF;

class LoadFlows : public UiTest
{
protected:
    // A flat response at `db` dB (LevelFactor 1), N values.
    std::vector<unsigned char> flatCurveBytes(float value, int n = 4096)
    {
        const std::vector<float> values(std::size_t(n / 2), value);
        return EncodeCurveFile(CurveHeader {1.0f, 48000, n, 20000.0f, 20.0f}, values);
    }
    void writeBytes(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        QFile f(QString::fromStdString(programDir() + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    static float dbValue(double db) { return float(std::pow(10.0, db / 20.0)); }

    // Answers the next message box with Enter and keeps its lines.
    void answerBoxWhenShown(std::vector<QString>* lines)
    {
        whenModal(Box, [lines] {
            lines->push_back(Box->windowTitle());
            for (const QString& l : Box->L1->lines())
                if (!l.isEmpty())
                    lines->push_back(l);
            pressKey(Qt::Key_Return);
        });
    }
    int rowOf(double db) const { return int(std::lround(290 * (100.0 - db) / 60.0)); }
    QRgb pixel(int x, int y) const { return OffscreenBitmap.pixel(x, y) & 0xFFFFFF; }
};

TEST_F(LoadFlows, CancelChangesNothingButTheCurveKind)
{
    writeBytes("A.EA", flatCurveBytes(dbValue(80)));
    MainForm->MO->setText("DUT");
    const QImage before = OffscreenBitmap.copy();
    const float firstValue = ResponseCurve.values[5];
    chooseWhenAsked("");
    F1Click();
    EXPECT_EQ(CurveKindText, "H2");
    EXPECT_EQ(MainForm->MO->text(), "DUT");
    EXPECT_EQ(OffscreenBitmap, before);
    EXPECT_EQ(ResponseCurve.values[5], firstValue);
    chooseWhenAsked("");
    F2Click();
    EXPECT_EQ(CurveKindText, "Z2");
}

TEST_F(LoadFlows, ThreeLoadsAreDrawnInTheColourCycleAndNamedInMO)
{
    writeBytes("A.EA", flatCurveBytes(dbValue(90)));
    writeBytes("B.EA", flatCurveBytes(dbValue(80)));
    writeBytes("C.EA", flatCurveBytes(dbValue(70)));
    for (const char* name : {"A.EA", "B.EA", "C.EA"}) {
        chooseWhenAsked(name);
        F1Click();
    }
    EXPECT_EQ(pixel(250, rowOf(90)), kLime);
    EXPECT_EQ(pixel(250, rowOf(80)), kAqua);
    EXPECT_EQ(pixel(250, rowOf(70)), kFuchsia);
    EXPECT_EQ(MainForm->MO->text(), "  A  B  C");
    EXPECT_EQ(CurveName, "C.EA");
    EXPECT_EQ(MainForm->InfoPanel->text(), "Serial Resistor: 150 Ohm");
}

TEST_F(LoadFlows, CheckMarkChoosesTheKindOfFileOffered)
{
    writeBytes("ROOM.AA", flatCurveBytes(dbValue(80)));
    MainForm->AA1->trigger();
    QString offered;
    whenModal(FileBox, [&] {
        offered = FileBox->FileEdit->text();
        FileBox->AbortBtnClick();
    });
    F1Click();
    MainForm->EA1->trigger();
    EXPECT_EQ(offered, "*.AA");
    EXPECT_EQ(DisplayKind, 7);
}

TEST_F(LoadFlows, CurvesFromTheCommandLineLoadAsChosenInTheirBoxes)
{
    const std::string folder = "given \u00FC/";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(programDir() + folder)));
    writeBytes(folder + "A.AA", flatCurveBytes(dbValue(90)));
    auto shortFile = flatCurveBytes(dbValue(80));
    shortFile.pop_back();
    writeBytes(folder + "BAD.EA", shortFile);
    writeBytes(folder + "C.OHM",
        EncodeCurveFile(CurveHeader {1.0f, 48000, 4096, 20000.0f, 20.0f},
            std::vector<float>(2048, 0.04f))); // 6 Ohm
    writeBytes(folder + "D.EA", flatCurveBytes(dbValue(70)));
    const std::string dir = programDir() + folder;
    const std::string savedFolder = Settings.CurveDirectory.str();

    OpenCommandLineCurve(dir + "A.AA");
    EXPECT_TRUE(MainForm->AA1->isChecked()) << "checked as if the user had checked it";
    EXPECT_EQ(CurveKindText, "H2");
    std::vector<QString> lines;
    answerBoxWhenShown(&lines);
    OpenCommandLineCurve(dir + "BAD.EA");
    EXPECT_EQ(lines,
        (std::vector<QString> {
            "Error", "Error reading " + QString::fromStdString(dir) + "BAD.EA"}));
    EXPECT_TRUE(MainForm->EA1->isChecked());
    OpenCommandLineCurve(dir + "C.OHM");
    EXPECT_EQ(CurveKindText, "Z2");
    OpenCommandLineCurve(dir + "D.EA");

    EXPECT_EQ(pixel(250, rowOf(90)), kLime);
    EXPECT_EQ(pixel(250, int(std::lround(290 * (1 - 60.0 / 400.0)))), kAqua);
    EXPECT_EQ(pixel(250, rowOf(70)), kFuchsia);
    EXPECT_EQ(MainForm->MO->text(), "  A  BAD  C  D");
    EXPECT_EQ(CurveName, "D.EA");

    // The boxes now list that folder; the saved curve folder is unchanged.
    std::vector<std::string> listed;
    whenModal(FileBox, [&] {
        listed = FileBox->FileListBox1->listedNames();
        FileBox->AbortBtnClick();
    });
    F1Click();
    EXPECT_EQ(listed, (std::vector<std::string> {"BAD.EA", "D.EA"}));
    EXPECT_EQ(Settings.CurveDirectory.str(), savedFolder);
}

TEST_F(LoadFlows, FileLengthsAroundTwentyPlusTwoN)
{
    auto exact = flatCurveBytes(dbValue(80), 512);
    auto longer = exact;
    longer.resize(exact.size() + 7, 0xAA);
    auto shorter = exact;
    shorter.pop_back();
    writeBytes("EXACT.EA", exact);
    writeBytes("LONGER.EA", longer);
    writeBytes("SHORT.EA", shorter);
    for (const char* name : {"EXACT.EA", "LONGER.EA"}) {
        std::vector<QString> lines;
        chooseWhenAsked(name);
        F1Click();
        EXPECT_EQ(ResponseCurve.header.TransformLength, 512) << name;
        EXPECT_FLOAT_EQ(ResponseCurve.values[255], dbValue(80)) << name;
    }
    ResponseCurve.values[0] = 123.0f;
    std::vector<QString> lines;
    chooseWhenAsked("SHORT.EA");
    answerBoxWhenShown(&lines);
    F1Click();
    const QString path = QString::fromStdString(programDir()) + "SHORT.EA";
    EXPECT_EQ(lines, (std::vector<QString> {"Error", "Error reading " + path}));
    EXPECT_EQ(ResponseCurve.values[0], 123.0f) << "the slot is left as it was";
    EXPECT_TRUE(MainForm->MO->text().endsWith("  SHORT")) << "the name is listed all the same";
}

TEST_F(LoadFlows, MalformedHeadersAreRefused)
{
    struct Case {
        const char* name;
        int32_t sampleRate;
        int32_t transformLength;
    };
    for (const Case& c : {Case {"ZERO_N.EA", 48000, 0}, Case {"NEG_N.EA", 48000, -4096},
             Case {"ODD_N.EA", 48000, 4095}, Case {"BIG_N.EA", 48000, 65538},
             Case {"ZERO_FS.EA", 0, 4096}, Case {"NEG_FS.EA", -48000, 4096}}) {
        SCOPED_TRACE(c.name);
        auto bytes = flatCurveBytes(dbValue(80), 4096);
        std::memcpy(&bytes[4], &c.sampleRate, 4);
        std::memcpy(&bytes[8], &c.transformLength, 4);
        writeBytes(c.name, bytes);
        const CurveHeader before = ResponseCurve.header;
        std::vector<QString> lines;
        chooseWhenAsked(c.name);
        answerBoxWhenShown(&lines);
        F1Click();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_TRUE(lines[1].startsWith("Error reading "));
        EXPECT_EQ(ResponseCurve.header.TransformLength, before.TransformLength);
        EXPECT_EQ(ResponseCurve.header.SampleRate, before.SampleRate);
    }
}

TEST_F(LoadFlows, ArithmeticFaultsGiveTheirNumberedMessages)
{
    struct Case {
        const char* name;
        float value;
        const char* line;
    };
    for (const Case& c : {Case {"ZERO.EA", 0.0f, "Unknown Fatal Error"},
             Case {"NEG.EA", -1.0f, "Fatal Error Number  207"}}) {
        SCOPED_TRACE(c.name);
        writeBytes(c.name, flatCurveBytes(c.value));
        std::vector<QString> lines;
        chooseWhenAsked(c.name);
        answerBoxWhenShown(&lines);
        F1Click();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0], "FATAL ERROR");
        EXPECT_EQ(lines[1], c.line);
        EXPECT_EQ(lines.back(), "It is strongly recommended to restart VOXA32.");
    }
    // The viewer goes on: the next good file loads and draws.
    writeBytes("GOOD.EA", flatCurveBytes(dbValue(80)));
    CurveColours.restart();
    chooseWhenAsked("GOOD.EA");
    F1Click();
    EXPECT_EQ(pixel(250, rowOf(80)), kLime);
}

TEST_F(LoadFlows, ImpedanceCurveIsDrawnOverTheResponse)
{
    const std::vector<float> values(2048, 0.04f); // 6 Ohm
    writeBytes(
        "SPK.OHM", EncodeCurveFile(CurveHeader {1.0f, 48000, 4096, 20000.0f, 20.0f}, values));
    chooseWhenAsked("SPK.OHM");
    F2Click();
    EXPECT_EQ(CurveKindText, "Z2");
    EXPECT_EQ(pixel(250, int(std::lround(290 * (1 - 60.0 / 400.0)))), kLime);
    EXPECT_EQ(MainForm->MO->text(), "  SPK");
}

TEST_F(LoadFlows, EmptyCurveDirectoryOpensTheBareNameInTheListedDirectory)
{
    Settings.CurveDirectory.assign("");
    ProgramDir = programDir();
    writeBytes("HERE.EA", flatCurveBytes(dbValue(80)));
    QDir::setCurrent(QDir::rootPath());
    chooseWhenAsked("HERE.EA");
    F1Click();
    EXPECT_EQ(QDir::currentPath() + "/", QString::fromStdString(programDir()));
    EXPECT_EQ(pixel(250, rowOf(80)), kLime);
}

} // namespace
