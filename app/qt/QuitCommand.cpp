#include "app/qt/QuitCommand.h"

#include "app/ProgramContext.h"
#include "app/SettingsRecord.h"
#include "app/ToneSequences.h"
#include "app/qt/Sound.h"
#include "app/qt/TBox.h"
#include "curves/LoadState.h"
#include "ui/qt/TMainForm.h"

#include <QCoreApplication>
#include <cstring>

namespace
{

void reportFailedSave(int error)
{
    ShowBox({"Error", "The settings could not be saved to", SettingsLocation.savePath,
                std::string("(") + std::strerror(error) + ").",
                "The settings of this session are not saved."},
        "ok", "");
}

} // namespace

SaveOutcome SaveSettings()
{
    Settings.WindowStateCode = static_cast<uint8_t>(MainForm->stateCode());
    const WindowSize size = MainForm->outerSizeToSave();
    Settings.WindowWidth = static_cast<int16_t>(size.width & 0xFFFF);
    Settings.WindowHeight = static_cast<int16_t>(size.height & 0xFFFF);
    Settings.TestLevel = 0;
    return WriteConfigFile(SettingsLocation.savePath, Settings);
}

void QuitRequest()
{
    if (ShowBox({"Sonivex", "Quit VOXA 32?"}, "yes", "no") != kBoxFirstButton)
        return;
    CurveKindText = "--";
    if (const SaveOutcome saved = SaveSettings(); !saved)
        reportFailedSave(saved.error);
    PlayTones(kTonesQuit);
    // exit() rather than quit(): quit() would first ask every window to close.
    QCoreApplication::exit(0);
}
