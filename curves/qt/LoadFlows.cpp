#include "curves/qt/LoadFlows.h"

#include "app/SettingsRecord.h"
#include "app/Texts.h"
#include "app/qt/Alerts.h"
#include "app/qt/FileNames.h"
#include "app/qt/TBox.h"
#include "curves/CurveFile.h"
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

#include <QApplication>
#include <new>

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

// The chosen name, or "" when nothing was chosen. A curve directory that
// cannot be listed is reported by name and counts as nothing chosen.
std::string chooseCurveFile(const std::string& extension)
{
    try {
        return SelectFile(Settings.CurveDirectory.str(), extension, "Cancel", true);
    } catch (const InputOutputError& e) {
        ShowBox({"Error", e.what()}, "ok", "");
        return {};
    }
}

// Reads a file into a slot; false (after the error box) when it cannot be read.
bool readIntoSlot(const std::string& name, CurveSlot& slot)
{
    const std::string path = CutText(JoinPath(Settings.CurveDirectory.str(), name));
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

void F1Click()
{
    runGuarded([] {
        SetInfoText(SerialResistorStatusText(Settings.SerialResistor));
        CurveKindText = checkedResponseExtension();
        LabelXAxis(kLogFrequencyAxis);
        LabelYAxis(DisplayKind);
        CurveName = chooseCurveFile(CurveKindText);
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

void F2Click()
{
    runGuarded([] {
        SetInfoText(SerialResistorStatusText(Settings.SerialResistor));
        CurveKindText = "OHM";
        CurveName = chooseCurveFile("OHM");
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
