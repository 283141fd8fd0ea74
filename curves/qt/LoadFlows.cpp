#include "curves/qt/LoadFlows.h"

#include "app/SettingsRecord.h"
#include "app/Texts.h"
#include "app/qt/Alerts.h"
#include "app/qt/FileNames.h"
#include "app/qt/TBox.h"
#include "curves/CommandLineCurves.h"
#include "curves/CurveFile.h"
#include "curves/CurveInfo.h"
#include "curves/CurveSlot.h"
#include "curves/FatalErrors.h"
#include "curves/LoadState.h"
#include "dialogs/DirectoryListing.h"
#include "dialogs/qt/TFileBox.h"
#include "plot/PlotState.h"
#include "plot/qt/PlotView.h"
#include "ui/SerialResistor.h"
#include "ui/qt/Commands.h"
#include "ui/qt/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <new>
#include <optional>
#include <utility>

namespace
{

// Runs a load flow; a fault anywhere inside ends it with the fatal-error box
// and the normal pointer. A curve whose drawing faulted then leaves its slot,
// so that no later redraw meets the fault again; the picture stays as far as
// it was drawn, with the curves overlaid before and the colour cycle where it
// was. Running out of memory ends the program.
template <typename Flow> void runGuarded(Flow flow)
{
    std::vector<std::string> lines;
    CurveSlot* faultyCurve = nullptr;
    try {
        flow();
        return;
    } catch (const CurveDrawingFault& fault) {
        lines = FatalErrorLines(fault.kind());
        faultyCurve = &fault.slot();
    } catch (const ArithmeticFault& fault) {
        lines = FatalErrorLines(fault.kind());
    } catch (const std::bad_alloc&) {
        OutOfMemoryAlert();
    } catch (const std::exception&) {
        lines = FatalErrorLines(FaultKind::Unknown);
    }
    ShowBox(lines, "ok", "");
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    MainForm->unsetCursor();
    if (faultyCurve)
        EmptyCurveSlot(*faultyCurve);
}

// The frequency-response kind of the checked entry of the "Load..." menu.
std::string checkedResponseExtension()
{
    const TMainForm& f = *MainForm;
    if (f.EE1->isChecked())
        return "EE";
    if (f.EA1->isChecked())
        return "EA";
    if (f.AE1->isChecked())
        return "AE";
    if (f.AA1->isChecked())
        return "AA";
    return "";
}

void appendToMO(const std::string& name)
{
    const QString caption = MainForm->MO->text() + "  " + FileNameText(WithoutExtension(name));
    MainForm->MO->setText(caption.left(int(kMaxTextLength)));
}

// The folder the curve boxes list and the chosen names are read from: the
// folder of the last curve opened from the command line, else CurveDirectory.
std::string curveDirectory()
{
    return CommandLineCurveFolder.empty() ? Settings.CurveDirectory.str() : CommandLineCurveFolder;
}

// The chosen name, or "" when nothing was chosen. A curve directory that
// cannot be listed is reported by name and counts as nothing chosen.
std::string chooseCurveFile(const std::string& extension)
{
    try {
        return SelectFile(curveDirectory(), extension, "Cancel", true);
    } catch (const InputOutputError& e) {
        ShowBox({"Error", e.what()}, "ok", "");
        return {};
    }
}

// Reads a file into a slot; false (after the error box) when it cannot be read.
bool readIntoSlot(const std::string& name, CurveSlot& slot)
{
    const std::string path = CutText(JoinPath(curveDirectory(), name));
    const CurveFile file = ReadCurveFile(path);
    if (!file.ok()) {
        ShowBox({"Error", "Error reading " + path}, "ok", "");
        return false;
    }
    CommitCurveFile(file, slot);
    return true;
}

} // namespace

void ReadResponseCurve(const std::string& name)
{
    if (readIntoSlot(name, ResponseCurve))
        DrawResponseCurve(ResponseCurve.values, false, CurveColours.next());
}

void ReadImpedanceCurve(const std::string& name)
{
    if (readIntoSlot(name, ImpedanceCurve))
        DrawImpedanceCurve(ImpedanceCurve.values, CurveColours.next());
}

namespace
{

// The F1 flow with choose standing in for the file box.
template <typename Choose> void loadResponseCurve(Choose choose)
{
    runGuarded([&choose] {
        SetInfoText(SerialResistorStatusText(Settings.SerialResistor));
        CurveKindText = checkedResponseExtension();
        LabelXAxis(kLogFrequencyAxis);
        LabelYAxis(DisplayKind);
        CurveName = choose(CurveKindText);
        CurveKindText = "H2";
        if (!CurveName.empty()) {
            // Paints while the file box was open labelled the impedance axis
            // last; the drawing needs the level kind in force.
            LabelYAxis(DisplayKind);
            ReadResponseCurve(CurveName);
            appendToMO(CurveName);
        }
    });
}

// The F2 flow with choose standing in for the file box.
template <typename Choose> void loadImpedanceCurve(Choose choose)
{
    runGuarded([&choose] {
        SetInfoText(SerialResistorStatusText(Settings.SerialResistor));
        CurveKindText = "OHM";
        CurveName = choose(CurveKindText);
        if (!CurveName.empty()) {
            // The impedance kind, which every paint leaves, whether or not a
            // paint came since the last level drawing.
            LabelYAxis(kImpedanceKind);
            ReadImpedanceCurve(CurveName);
            appendToMO(CurveName);
        }
        CurveKindText = "Z2";
    });
}

// Checks the entry of the "Load..." menu for a response extension, as the
// user's choice of it does.
void checkResponseKind(const std::string& extension)
{
    const TMainForm& f = *MainForm;
    const std::pair<const char*, QAction*> entries[]
        = {{"EA", f.EA1}, {"EE", f.EE1}, {"AE", f.AE1}, {"AA", f.AA1}};
    for (const auto& [entryExtension, entry] : entries)
        if (extension == entryExtension)
            entry->trigger();
}

} // namespace

void F1Click()
{
    loadResponseCurve(chooseCurveFile);
}

void F2Click()
{
    loadImpedanceCurve(chooseCurveFile);
}

void OpenCommandLineCurve(const std::string& path)
{
    const std::optional<CurveKind> kind = CurveKindOfName(path);
    if (!kind)
        return;
    CommandLineCurveFolder = FolderOf(path);
    const std::string name = path.substr(CommandLineCurveFolder.size());
    const auto chosen = [&name](const std::string&) { return name; };
    if (*kind == CurveKind::Impedance) {
        loadImpedanceCurve(chosen);
    } else {
        checkResponseKind(CurveExtension(path));
        loadResponseCurve(chosen);
    }
}
