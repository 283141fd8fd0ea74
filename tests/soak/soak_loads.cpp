// Soak test of the load flow: thousands of loads through F1Click and the file
// box, in the order good, refused (truncated), good, faulting (a stored 0),
// with the colour cycle checked after every load and the process's memory
// compared between the first 100 loads and the end.
//
//   soak_loads [LOADS]    (default 10000)
//
// Prints the memory figures; exits 1 when a check failed or the resident
// memory grew by more than 1 MiB after the first 100 loads.

#include "app/SettingsRecord.h"
#include "app/qt/Startup.h"
#include "app/qt/TBox.h"
#include "app/qt/VoxaApplication.h"
#include "app/qt/Windows.h"
#include "curves/ColourCycle.h"
#include "curves/CurveSlot.h"
#include "curves/ExampleCurves.h"
#include "curves/LoadState.h"
#include "curves/qt/LoadFlows.h"
#include "dialogs/qt/TFileBox.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{

constexpr long kWarmUpLoads = 100;
constexpr long kAllowedGrowthKiB = 1024;

// The files of one round, loaded in this order; `usesColour` when the file
// reaches the drawing (a refused file takes no colour).
struct SoakFile {
    const char* name;
    bool usesColour;
    const char* message; // second line of the box, or nullptr
};
constexpr std::array<SoakFile, 4> kRound {{
    {"GOOD.EA", true, nullptr},
    {"SHORT.EA", false, "Error reading "},
    {"GOOD.EA", true, nullptr},
    {"ZERO.EA", true, "Unknown Fatal Error"},
}};

constexpr std::array<uint32_t, 9> kCycle {kCurveLime, kCurveAqua, kCurveFuchsia, kCurveSilver,
    kCurveNavy, kCurveBlue, kCurvePurple, kCurveTeal, kCurveGreen};

long ResidentKiB()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void WriteSoakFiles(const std::string& dir)
{
    const CurveHeader h {1.0f, 48000, 4096, 20000.0f, 20.0f};
    const std::vector<float> flat(2048, 10000.0f); // 80 dB
    const std::vector<float> zeros(2048, 0.0f);
    if (!WriteCurveFile(dir + "GOOD.EA", h, flat) || !WriteCurveFile(dir + "ZERO.EA", h, zeros)
        || !WriteCurveFile(dir + "SHORT.EA", h, std::span(flat).first(2047))) {
        std::fprintf(stderr, "soak: cannot write the curve files\n");
        std::exit(2);
    }
}

// Answers the modal windows of a load: chooses `choice` in the file box,
// records and closes a message box, and records and closes any other modal
// window (a top-level error), which no load should open.
class Answers
{
public:
    Answers()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }
    void expect(const char* choice)
    {
        m_choice = choice;
        m_message.clear();
    }
    const std::string& message() const { return m_message; }
    bool unexpectedWindow() const { return m_unexpected; }

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == FileBox) {
            auto* list = FileBox->findChild<QListWidget*>("FileListBox1");
            const auto found = list->findItems(m_choice, Qt::MatchExactly);
            if (!found.isEmpty())
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(found.first()).center());
            QTest::keyClick(list, Qt::Key_Return);
        } else if (modal == Box) {
            const auto& lines = Box->L1->lines();
            m_message = lines.size() > 1 ? lines[1].toStdString() : std::string();
            QTest::mouseClick(Box->Btn1, Qt::LeftButton);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            m_unexpected = true;
            dialog->reject();
        }
    }

    QTimer m_timer;
    QString m_choice;
    std::string m_message;
    bool m_unexpected = false;
};

int Fail(long load, const char* what)
{
    std::fprintf(stderr, "soak: load %ld: %s\n", load, what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const long loads = argc > 1 ? std::atol(argv[1]) : 10000;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VoxaApplication app(argc, argv);
    QFont::insertSubstitution("System", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");

    QTemporaryDir dir;
    ProgramDir = dir.path().toStdString() + "/";
    CommandLine = {"voxa32vw", "/Init", "/:"};
    CreateWindows();
    LoadSettings();
    // As the program starts: the plot is reset right after the window is shown,
    // before its first paint.
    Answers answers;
    MainForm->show();
    ResetPlot();
    if (!QTest::qWaitForWindowExposed(MainForm))
        return Fail(0, "the main window was not shown");
    Settings.CurveDirectory.assign(ProgramDir);
    WriteSoakFiles(ProgramDir);

    const int goodRow = int(std::lround(290.0 * (100 - 80) / 60.0));
    std::size_t colourIndex = 0;
    bool anyColour = false;
    long warmKiB = 0;
    for (long load = 1; load <= loads; ++load) {
        const SoakFile& file = kRound[std::size_t(load - 1) % kRound.size()];
        answers.expect(file.name);
        F1Click();
        if (file.message ? answers.message().rfind(file.message, 0) != 0
                         : !answers.message().empty())
            return Fail(load, "wrong message");
        if (answers.unexpectedWindow())
            return Fail(load, "an unexpected window opened");
        if (file.usesColour) {
            colourIndex = anyColour ? (colourIndex + 1) % kCycle.size() : 0;
            anyColour = true;
        }
        // A curve whose drawing faulted leaves its slot; the picture and the
        // cycle stay as they were, so the next good curve takes the colour after.
        if (CurveColours.current() != kCycle[colourIndex])
            return Fail(load, "colour cycle out of step");
        const uint32_t c = kCycle[colourIndex];
        const QRgb expected = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        if (file.message == nullptr && OffscreenBitmap.pixel(250, goodRow) != expected)
            return Fail(load, "good curve not drawn in its colour");
        if (load == kWarmUpLoads)
            warmKiB = ResidentKiB();
    }
    if (loads < kWarmUpLoads)
        return 0; // too short to tell growth from warming up
    const long endKiB = ResidentKiB();
    const long growth = endKiB - warmKiB;
    std::printf("soak: %ld loads; resident after %ld loads %ld KiB, at the end %ld KiB, "
                "growth %ld KiB\n",
        loads, kWarmUpLoads, warmKiB, endKiB, growth);
    return growth > kAllowedGrowthKiB ? 1 : 0;
}
