// Malformed curve files through the real load flows: each gives its message
// (or draws), the viewer goes on, and the next good file loads and draws in
// the next colour of the cycle.

#include "UiFixture.h"

#include "app/qt/TBox.h"
#include "curves/ColourCycle.h"
#include "curves/CurveSlot.h"
#include "curves/ExampleCurves.h"
#include "curves/LoadState.h"
#include "curves/qt/LoadFlows.h"
#include "dialogs/qt/TFileBox.h"
#include "plot/PixelMapping.h"
#include "plot/PlotState.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/Commands.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

constexpr int kGoodLevel = 80; // dB of the good file: 10000 with LevelFactor 1
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

const std::string kErrorReading = "Error reading ";
const std::string kFatal207 = "Fatal Error Number  207";
const std::string kUnknownFatal = "Unknown Fatal Error";
const std::string kNoBox; // the file draws without a message

CurveHeader GoodHeader(int32_t n = 4096)
{
    return {1.0f, 48000, n, 20000.0f, 20.0f};
}

// The message box's title and first text line, as the user sees them.
struct Message {
    std::string title;
    std::string line;
};

// Answers every modal window while a flow runs: in the file box the named
// list item is selected and Enter pressed; a message box is recorded and
// closed with its "ok" button.
class ModalAnswers
{
public:
    explicit ModalAnswers(QString choice)
        : m_choice(std::move(choice))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }

    const std::vector<Message>& messages() const { return m_messages; }
    // Messages shown while running an action.
    template <typename Action> std::vector<Message> shownDuring(Action action)
    {
        m_messages.clear();
        action();
        return m_messages;
    }
    bool choiceListed() const { return m_choiceListed; }

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == FileBox)
            chooseFile();
        else if (modal == Box)
            closeMessage();
        else if (auto* box = qobject_cast<QMessageBox*>(modal))
            closeTopLevelError(box);
    }

    // The top-level error display: its title and its text.
    void closeTopLevelError(QMessageBox* box)
    {
        m_messages.push_back({box->windowTitle().toStdString(), box->text().toStdString()});
        box->close();
    }

    void chooseFile()
    {
        auto* list = FileBox->findChild<QListWidget*>("FileListBox1");
        const QList<QListWidgetItem*> found = list->findItems(m_choice, Qt::MatchExactly);
        m_choiceListed = !found.isEmpty();
        if (m_choiceListed) {
            list->setCurrentItem(found.first());
            QTest::mouseClick(
                list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
        }
        QTest::keyClick(list, Qt::Key_Return);
    }

    void closeMessage()
    {
        const std::vector<QString>& body = Box->L1->lines();
        m_messages.push_back({Box->windowTitle().toStdString(),
            body.size() > 1 ? body[1].toStdString() : std::string()});
        QTest::mouseClick(Box->Btn1, Qt::LeftButton);
    }

    QString m_choice;
    QTimer m_timer;
    std::vector<Message> m_messages;
    bool m_choiceListed = false;
};

class MalformedFiles : public UiTest
{
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        m_startDirectory = QDir::currentPath();
    }
    void TearDown() override
    {
        QDir::setCurrent(m_startDirectory);
        UiTest::TearDown();
    }

public: // the case table's file makers use these
    std::string pathOf(const std::string& name) const { return programDir() + name; }

    void writeCurve(const std::string& name, const CurveHeader& h, std::size_t valueCount,
        float value = 10000.0f)
    {
        const std::vector<float> values(valueCount, value);
        ASSERT_TRUE(WriteCurveFile(pathOf(name), h, values));
    }

    void writeBytes(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        std::ofstream(pathOf(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    // Runs a load flow choosing `name` in the file box; returns the messages shown.
    std::vector<Message> loadThroughFlow(void (*flow)(), const std::string& name)
    {
        ModalAnswers answers(QString::fromStdString(name));
        flow();
        EXPECT_TRUE(answers.choiceListed()) << name << " not in the file list";
        return answers.messages();
    }

    // Reads a file the list does not offer (a directory, a FIFO) by name.
    std::vector<Message> loadByName(const std::string& name)
    {
        ModalAnswers answers(QString::fromStdString(name));
        ReadResponseCurve(name);
        return answers.messages();
    }

    QRgb pixel(int x, int y) const { return OffscreenBitmap.pixel(x, y) & 0xFFFFFF; }

    // The good file at kGoodLevel loads without a message and is drawn in `colour`.
    void expectGoodFileDrawnIn(uint32_t colour)
    {
        EXPECT_TRUE(loadThroughFlow(F1Click, "GOOD.EA").empty());
        const int y = int(std::lround(290.0 * (100 - kGoodLevel) / 60.0));
        EXPECT_EQ(pixel(250, y), BgrToQRgb(colour));
        EXPECT_EQ(ResponseCurve.header.TransformLength, 4096);
        EXPECT_EQ(CurveKindText, "H2");
    }

    // The data window shows the grid and no trace: the 100 Hz column and the
    // middle row in grey, black between the lines.
    void expectEmptyGrid() const
    {
        const QRgb grey = 0x808080;
        const int x100 = FreqToX(ComputeFreqMapping(Plot.ViewFreqLow, Plot.ViewFreqHigh, 528), 100);
        EXPECT_EQ(pixel(x100, 200), grey);
        EXPECT_EQ(pixel(500, 145), grey);
        int traced = 0;
        for (int y = 0; y < OffscreenBitmap.height(); ++y)
            for (int x = 0; x < OffscreenBitmap.width(); ++x)
                traced += pixel(x, y) != grey && pixel(x, y) != 0;
        EXPECT_EQ(traced, 0);
    }

    static QRgb BgrToQRgb(uint32_t bgr)
    {
        return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF) & 0xFFFFFF;
    }

    QString m_startDirectory;
};

struct Case {
    const char* what;
    std::function<void(MalformedFiles&)> make; // writes BAD.EA
    std::string expected; // second line of the box, or kNoBox
};

// Every malformed kind ends in its message or draws, the flow returns, and a
// good file loads next; files that reached the drawing used up a colour.
TEST_F(MalformedFiles, EachKindGivesItsMessageAndTheNextGoodFileDraws)
{
    const CurveHeader good = GoodHeader();
    auto header = [good](auto change) {
        CurveHeader h = good;
        change(h);
        return h;
    };
    const std::vector<Case> cases = {
        {"truncated header",
            [](MalformedFiles& t) {
                t.writeBytes("BAD.EA", {0, 0, 0x80, 0x3F, 0x80, 0xBB});
            },
            kErrorReading},
        {"truncated values", [&](MalformedFiles& t) { t.writeCurve("BAD.EA", good, 2047); },
            kErrorReading},
        {"N = 0",
            [&](MalformedFiles& t) {
                t.writeCurve("BAD.EA", header([](CurveHeader& h) { h.TransformLength = 0; }), 16);
            },
            kErrorReading},
        {"N negative",
            [&](MalformedFiles& t) {
                t.writeCurve(
                    "BAD.EA", header([](CurveHeader& h) { h.TransformLength = -4096; }), 16);
            },
            kErrorReading},
        {"N odd",
            [&](MalformedFiles& t) {
                t.writeCurve(
                    "BAD.EA", header([](CurveHeader& h) { h.TransformLength = 4095; }), 2048);
            },
            kErrorReading},
        {"N = 65538",
            [&](MalformedFiles& t) {
                t.writeCurve(
                    "BAD.EA", header([](CurveHeader& h) { h.TransformLength = 65538; }), 32769);
            },
            kErrorReading},
        {"N = 2^31 - 2",
            [&](MalformedFiles& t) {
                t.writeCurve(
                    "BAD.EA", header([](CurveHeader& h) { h.TransformLength = 2147483646; }), 64);
            },
            kErrorReading},
        {"SampleRate 0",
            [&](MalformedFiles& t) {
                t.writeCurve("BAD.EA", header([](CurveHeader& h) { h.SampleRate = 0; }), 2048);
            },
            kErrorReading},
        {"SampleRate negative",
            [&](MalformedFiles& t) {
                t.writeCurve("BAD.EA", header([](CurveHeader& h) { h.SampleRate = -48000; }), 2048);
            },
            kErrorReading},
        {"LowerFrequency above UpperFrequency",
            [&](MalformedFiles& t) {
                t.writeCurve("BAD.EA", header([](CurveHeader& h) {
                    h.LowerFrequency = 15000.0f;
                    h.UpperFrequency = 100.0f;
                }),
                    2048);
            },
            kNoBox},
        {"band beyond fs/2 and below 0",
            [&](MalformedFiles& t) {
                t.writeCurve("BAD.EA", header([](CurveHeader& h) {
                    h.LowerFrequency = -1000.0f;
                    h.UpperFrequency = 1.0e9f;
                }),
                    2048);
            },
            kNoBox},
        {"band of infinite width",
            [&](MalformedFiles& t) {
                t.writeCurve(
                    "BAD.EA", header([](CurveHeader& h) { h.UpperFrequency = kInf; }), 2048);
            },
            kFatal207},
        {"LevelFactor NaN",
            [&](MalformedFiles& t) {
                t.writeCurve("BAD.EA", header([](CurveHeader& h) { h.LevelFactor = kNaN; }), 2048);
            },
            kFatal207},
        {"LevelFactor infinite",
            [&](MalformedFiles& t) {
                t.writeCurve("BAD.EA", header([](CurveHeader& h) { h.LevelFactor = kInf; }), 2048);
            },
            kFatal207},
        {"values NaN", [&](MalformedFiles& t) { t.writeCurve("BAD.EA", good, 2048, kNaN); },
            kFatal207},
        {"values infinite", [&](MalformedFiles& t) { t.writeCurve("BAD.EA", good, 2048, kInf); },
            kFatal207},
        {"values zero", [&](MalformedFiles& t) { t.writeCurve("BAD.EA", good, 2048, 0.0f); },
            kUnknownFatal},
        {"values negative", [&](MalformedFiles& t) { t.writeCurve("BAD.EA", good, 2048, -1.0f); },
            kFatal207},
        {"values denormal",
            [&](MalformedFiles& t) { t.writeCurve("BAD.EA", good, 2048, 1.0e-45f); }, kNoBox},
        {"unreadable (read fails with EIO)",
            [](MalformedFiles& t) { fs::create_symlink("/proc/self/mem", t.pathOf("BAD.EA")); },
            kErrorReading},
    };
    writeCurve("GOOD.EA", good, 2048);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(pathOf("BAD.EA"));
        c.make(*this);
        ResetPlot();
        CurveColours.restart();

        const std::vector<Message> shown = loadThroughFlow(F1Click, "BAD.EA");
        if (c.expected.empty()) {
            EXPECT_TRUE(shown.empty());
        } else {
            ASSERT_EQ(shown.size(), 1u);
            const bool readError = c.expected == kErrorReading;
            EXPECT_EQ(shown[0].title, readError ? "Error" : "FATAL ERROR");
            EXPECT_EQ(shown[0].line,
                readError ? kErrorReading + Settings.CurveDirectory.str() + "BAD.EA" : c.expected);
        }
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        const bool drawn = c.expected != kErrorReading;
        expectGoodFileDrawnIn(drawn ? kCurveAqua : kCurveLime);
    }
}

// Without read permission the file is refused like a missing one (root reads
// anyway, so the case needs an ordinary user).
TEST_F(MalformedFiles, FileWithoutReadPermissionIsRefused)
{
    writeCurve("GOOD.EA", GoodHeader(), 2048);
    writeCurve("BAD.EA", GoodHeader(), 2048);
    ASSERT_EQ(::chmod(pathOf("BAD.EA").c_str(), 0), 0);
    if (::access(pathOf("BAD.EA").c_str(), R_OK) == 0)
        GTEST_SKIP() << "this user reads files without read permission";
    const std::vector<Message> shown = loadThroughFlow(F1Click, "BAD.EA");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line, kErrorReading + pathOf("BAD.EA"));
    expectGoodFileDrawnIn(kCurveLime);
}

// A directory or a FIFO named like a curve file is not listed in the file
// box; typed into a read by name, it is refused at once (a FIFO without a
// writer does not block the viewer).
TEST_F(MalformedFiles, DirectoryAndFifoNamedLikeCurvesAreRefused)
{
    writeCurve("GOOD.EA", GoodHeader(), 2048);
    fs::create_directory(pathOf("DIR.EA"));
    ASSERT_EQ(::mkfifo(pathOf("PIPE.EA").c_str(), 0644), 0);
    for (const std::string name : {"DIR.EA", "PIPE.EA"}) {
        SCOPED_TRACE(name);
        const std::vector<Message> shown = loadByName(name);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].title, "Error");
        EXPECT_EQ(shown[0].line, kErrorReading + pathOf(name));
    }
    expectGoodFileDrawnIn(kCurveLime);
}

// The impedance flow under the same guard: a refused header, a value that
// cannot be rounded to a pixel, then a good impedance file.
TEST_F(MalformedFiles, ImpedanceFlowReportsAndGoesOn)
{
    CurveHeader odd = GoodHeader();
    odd.TransformLength = 65538;
    writeCurve("BAD1.OHM", odd, 32769, 0.04f);
    writeCurve("BAD2.OHM", GoodHeader(), 2048, kNaN);
    writeCurve("GOOD.OHM", GoodHeader(), 2048, 0.04f); // 6 Ohm
    Plot.ActiveDisplayKind = kImpedanceKind;

    std::vector<Message> shown = loadThroughFlow(F2Click, "BAD1.OHM");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line, kErrorReading + pathOf("BAD1.OHM"));
    shown = loadThroughFlow(F2Click, "BAD2.OHM");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line, kFatal207);
    EXPECT_EQ(CurveKindText, "OHM") << "the fault ended the flow before its last step";

    EXPECT_TRUE(loadThroughFlow(F2Click, "GOOD.OHM").empty());
    const int y = int(std::lround(290 * (1 - 60.0 / 400.0)));
    EXPECT_EQ(pixel(250, y), BgrToQRgb(kCurveAqua));
    EXPECT_EQ(CurveKindText, "Z2");
}

struct FaultyFile {
    const char* what;
    void (*flow)();
    const char* name;
    CurveHeader header;
    float value;
    std::string expected; // second line of the fatal-error box
};

// A file whose drawing faults is reported once; then its curve leaves the
// slot, the data window shows its grid again, and zooming, scrolling, a
// resize repaint, a colour change and ResetPlot all work without a box.
TEST_F(MalformedFiles, AFaultyCurveLeavesItsSlotAndLaterCommandsWork)
{
    const CurveHeader good = GoodHeader();
    auto with = [good](float levelFactor, float upper = 20000.0f) {
        CurveHeader h = good;
        h.LevelFactor = levelFactor;
        h.UpperFrequency = upper;
        return h;
    };
    const std::vector<FaultyFile> cases = {
        {"LevelFactor 0", F1Click, "BAD.EA", with(0.0f), 10000.0f, kUnknownFatal},
        {"LevelFactor negative", F1Click, "BAD.EA", with(-1.0f), 10000.0f, kFatal207},
        {"LevelFactor NaN", F1Click, "BAD.EA", with(kNaN), 10000.0f, kFatal207},
        {"values 0", F1Click, "BAD.EA", good, 0.0f, kUnknownFatal},
        {"values negative", F1Click, "BAD.EA", good, -1.0f, kFatal207},
        {"values NaN", F1Click, "BAD.EA", good, kNaN, kFatal207},
        {"impedance values NaN", F2Click, "BAD.OHM", good, kNaN, kFatal207},
        {"impedance band infinite", F2Click, "BAD.OHM", with(1.0f, kInf), 0.04f, kFatal207},
    };
    for (const FaultyFile& c : cases) {
        SCOPED_TRACE(c.what);
        ResetPlot();
        writeCurve(c.name, c.header, 2048, c.value);
        ModalAnswers answers(c.name);
        std::vector<Message> shown = answers.shownDuring(c.flow);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].title, "FATAL ERROR");
        EXPECT_EQ(shown[0].line, c.expected);
        const CurveSlot& slot = c.flow == F1Click ? ResponseCurve : ImpedanceCurve;
        EXPECT_EQ(slot.header, kEmptyCurveHeader);
        EXPECT_EQ(
            std::count(slot.values, slot.values + kCurveCapacity, EmptyCurveValue), kCurveCapacity);
        expectEmptyGrid();

        for (QToolButton* b : {MainForm->ZoomXButton, MainForm->LeftButton, MainForm->ZoomYButton})
            EXPECT_TRUE(answers.shownDuring([b] { b->click(); }).empty())
                << b->objectName().toStdString();
        EXPECT_TRUE(answers
                        .shownDuring([] {
                            MainForm->setOuterSize(700, 500);
                            QTest::qWait(50);
                            MainForm->setOuterSize(640, 450);
                            QTest::qWait(50);
                        })
                        .empty());
        EXPECT_TRUE(answers.shownDuring(RecallDefault1Click).empty());
        EXPECT_TRUE(answers.shownDuring(ResetPlot).empty());
        expectEmptyGrid();
    }

    // Only a drawing that faults removes a curve: zeros beyond the drawn
    // band do no harm, and the curve stays through a zoom.
    CurveHeader edge = good;
    edge.UpperFrequency = 10000.0f; // bins from 853 on are not drawn
    std::vector<float> values(2048, 10000.0f);
    std::fill(values.begin() + 860, values.end(), 0.0f);
    ASSERT_TRUE(WriteCurveFile(pathOf("EDGE.EA"), edge, values));
    Settings.LevelRange = 60; // as before the zooms above
    ModalAnswers answers("EDGE.EA");
    EXPECT_TRUE(answers.shownDuring(F1Click).empty());
    EXPECT_TRUE(answers.shownDuring([] { MainForm->ZoomXButton->click(); }).empty());
    EXPECT_EQ(ResponseCurve.header, edge);
    EXPECT_EQ(ResponseCurve.values[1000], 0.0f);
    const int y
        = int(std::lround(290.0 * (Settings.LevelTop - kGoodLevel) / double(Settings.LevelRange)));
    EXPECT_EQ(pixel(250, y), BgrToQRgb(Settings.SignalColor)) << "redrawn after the zoom";
}

// A load whose drawing faults empties its slot and nothing else: the curves
// overlaid before stay in the picture, the names in MO stay, and the colour
// cycle goes on from where the faulting curve took its colour.
TEST_F(MalformedFiles, AFaultingLoadLeavesThePictureAndTheColourCycle)
{
    ResetPlot();
    writeCurve("GOOD.EA", GoodHeader(), 2048);
    CurveHeader faulting = GoodHeader();
    faulting.LevelFactor = -1.0f;
    writeCurve("BAD.EA", faulting, 2048);
    CurveHeader quieter = GoodHeader();
    quieter.LevelFactor = 0.1f; // 20 dB below the good file
    writeCurve("QUIET.EA", quieter, 2048);

    expectGoodFileDrawnIn(kCurveLime);
    const QImage before = OffscreenBitmap.copy();
    const QString moBefore = MainForm->MO->text();

    const std::vector<Message> shown = loadThroughFlow(F1Click, "BAD.EA");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "FATAL ERROR");
    EXPECT_EQ(ResponseCurve.header, kEmptyCurveHeader);
    EXPECT_EQ(OffscreenBitmap, before) << "the overlaid curve stays";
    EXPECT_EQ(MainForm->MO->text(), moBefore);
    EXPECT_EQ(CurveColours.current(), kCurveAqua) << "the faulting curve took aqua";

    EXPECT_TRUE(loadThroughFlow(F1Click, "QUIET.EA").empty());
    const int good = int(std::lround(290.0 * (100 - kGoodLevel) / 60.0));
    const int quiet = int(std::lround(290.0 * (100 - kGoodLevel + 20) / 60.0));
    EXPECT_EQ(pixel(250, good), BgrToQRgb(kCurveLime)) << "still overlaid";
    EXPECT_EQ(pixel(250, quiet), BgrToQRgb(kCurveFuchsia)) << "the cycle went on";
}

// A curve that draws at one scale and faults at a finer one: the zoom
// reports the fault in words in the top-level error display, the curve
// leaves its slot, and the next zoom works.
TEST_F(MalformedFiles, ACurveThatFaultsOnlyAfterAZoomIsRemovedWithAMessageInWords)
{
    Settings.ImpedanceStep = 2000; // 5e7 x 150 Ohm fits a pixel row, at 1000 no longer
    writeCurve("HUGE.OHM", GoodHeader(), 2048, 5.0e7f);
    ModalAnswers answers("HUGE.OHM");
    ASSERT_TRUE(answers.shownDuring(F2Click).empty());
    const std::vector<Message> shown = answers.shownDuring([] { MainForm->ZoomYButton->click(); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].line,
        "Drawing the impedance curve failed: " + DescribeFault(FaultKind::InvalidOperation)
            + ". The curve has been removed from the display.");
    EXPECT_EQ(ImpedanceCurve.header, kEmptyCurveHeader);
    expectEmptyGrid();
    EXPECT_TRUE(answers.shownDuring([] { MainForm->ZoomYButton->click(); }).empty());
}

} // namespace
