#include "app/qt/Startup.h"

#include "app/ConfigFile.h"
#include "app/ProgramContext.h"
#include "app/SettingsRecord.h"
#include "app/SettingsValidation.h"
#include "app/SplashTiming.h"
#include "app/ToneSequences.h"
#include "app/qt/Alerts.h"
#include "app/qt/Pictures.h"
#include "app/qt/Sound.h"
#include "app/qt/TBox.h"
#include "app/qt/VoxaApplication.h"
#include "app/qt/Windows.h"
#include "curves/CommandLineCurves.h"
#include "curves/CurveSlot.h"
#include "curves/LoadState.h"
#include "curves/qt/LoadFlows.h"
#include "dialogs/FileNameRules.h"
#include "plot/PlotState.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/Colours.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/SoftKeys.h"
#include "ui/qt/TMainForm.h"

#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace
{

constexpr std::size_t kSampleBufferBytes = 131088;

// The box names the file that failed, where the program looked and why,
// between its first line and its advice.
void fatalConfigurationError(const std::vector<std::string>& problem)
{
    PlayTones(kTonesConfigError);
    std::vector<std::string> lines {
        "FATAL ERROR", "Error reading VOXA32VW.CFG (not found or invalid)!"};
    lines.insert(lines.end(), problem.begin(), problem.end());
    lines.insert(lines.end(),
        {"Please copy the the file VOXA32VW.CFG from the original",
            "VOXA32VW-Disks to the VOXA32VW-Directory or", "install the VOXA32VW again."});
    ShowBox(lines, "ok", "");
    EndProgram();
}

void setDefaultCurveHeaders()
{
    for (CurveSlot* slot : {&ResponseCurve, &ImpedanceCurve}) {
        slot->header.SampleRate = 48000;
        slot->header.TransformLength = 4096;
        slot->header.UpperFrequency = 20000.0f;
        slot->header.LowerFrequency = 20.0f;
    }
    ImpedanceCurve.header.LevelFactor = 1.0f;
}

// The display kind and the level unit follow the check mark of the "Load..." menu.
void setDisplayKindAndLevelFactor()
{
    const TMainForm& f = *MainForm;
    if (f.EE1->isChecked() || f.AA1->isChecked())
        DisplayKind = 5;
    else if (f.AE1->isChecked())
        DisplayKind = 6;
    else
        DisplayKind = 7;
    if (f.EA1->isChecked())
        ResponseCurve.header.LevelFactor = SessionLevelFactor(Settings);
    ImpedanceCurve.header.LevelFactor = 1.0f;
}

// The buffers hold no curve from the start, so that a paint before the
// plot's first reset draws nothing rather than the logarithm of 0.
void allocateSampleBuffers()
{
    for (CurveSlot* slot : {&ResponseCurve, &ImpedanceCurve})
        if (!slot->values) {
            slot->values = static_cast<float*>(AllocBlock(kSampleBufferBytes));
            std::fill_n(slot->values, kCurveCapacity, EmptyCurveValue);
        }
}

// Busy wait that does not handle window messages.
void holdSplash(const QElapsedTimer& startMark)
{
    const auto end = std::chrono::steady_clock::now()
        + std::chrono::milliseconds(SplashRemainingMs(startMark.elapsed()));
    while (std::chrono::steady_clock::now() < end) { }
}

void initialiseOffscreenBitmap()
{
    SizeOffscreenBitmap();
    OffscreenBitmap.fill(ToQColor(Settings.DataWindowColor));
    MainForm->SigWin->setPicture(&OffscreenBitmap);
}

std::string currentDirectory()
{
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

// The curves named on the command line, loaded one after the other as soon
// as the window handles events, as if the user had chosen each in its box.
void openOnceRunning(const std::vector<std::string>& curveFiles)
{
    if (curveFiles.empty())
        return;
    QTimer::singleShot(0, MainForm, [curveFiles] {
        for (const std::string& path : curveFiles)
            OpenCommandLineCurve(path);
    });
}

} // namespace

std::vector<std::string> LoadSettings()
{
    SettingsLocation = FindConfigLocation(ProgramDir);
    if (const LoadOutcome loaded = LoadSettingsFile(CommandLine, SettingsLocation, Settings);
        !loaded)
        fatalConfigurationError(loaded.problem);
    std::vector<std::string> repaired = RepairDamagedSettings(Settings);
    if (Box->isVisible()) // the lines go on the splash picture, if one is shown
        Box->drawSplashLines(Settings.SplashLine1.str(), Settings.SplashLine2.str(),
            OffscreenBitmap.isNull() ? Box->height() : OffscreenBitmap.height());
    MainForm->fitStoredOuterSize(Settings.WindowWidth, Settings.WindowHeight);
    MainForm->applyStateCode(Settings.WindowStateCode);
    allocateSampleBuffers();
    setDefaultCurveHeaders();
    ShowSoftKeyMode("StartDSA");
    for (QToolButton* b : MainForm->navigationButtons())
        b->setVisible(true);
    setDisplayKindAndLevelFactor();
    return repaired;
}

void ReportRepairedSettings(const std::vector<std::string>& names)
{
    if (!names.empty())
        ShowBox(RepairedSettingsBoxLines(names), "ok", "");
}

int RunProgram(int argc, char** argv)
{
    VoxaApplication app(argc, argv);
    CommandLine.assign(argv, argv + argc);
    // Taken before a file box changes the current directory.
    const std::vector<std::string> curveFiles
        = CurveFilesOnCommandLine(CommandLine, currentDirectory());
    ProgramDir = ProgramDirectoryOf(RunningProgramPath());
    InstallFontSubstitutes();
    try {
        CurveKindText = "--";
        OffscreenBitmap = QImage();
        QCoreApplication::setApplicationName("VOXA 32 Curve Viewer");
        CreateStartWindows();
        const bool splash = FindSwitch(CommandLine, "/:") == 0;
        if (splash) {
            OffscreenBitmap = MakeSplashPicture();
            Box->showSplash(OffscreenBitmap);
        }
        QElapsedTimer startMark;
        startMark.start();
        const std::vector<std::string> repaired = LoadSettings();
        initialiseOffscreenBitmap();
        if (splash)
            holdSplash(startMark);
        Box->hide();
        MainForm->centreOnScreen();
        MainForm->show();
        // Out-of-range scales were repaired by LoadSettings; anything else goes to
        // the top-level error display, as from every handler.
        RunReportingErrors(ResetPlot);
        ReportRepairedSettings(repaired);
        MainForm->Timer1->start();
        openOnceRunning(curveFiles);
        app.exec();
    } catch (const ProgramEnd&) {
    }
    return 0;
}
