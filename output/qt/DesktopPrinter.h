#pragma once
// The desktop's printers. Qt's print support lives in a module of its own,
// libvoxa_printer.so beside the program, loaded at the first print or
// printer setup: a start of the program does without it.

#include "output/PrintGeometry.h"

#include <string>
#include <vector>

class QImage;
class QWidget;

class DesktopPrinter
{
public:
    // Where a picture of pictureWidth x pictureHeight goes on a printable area
    // of pageWidth x pageHeight device pixels (ComputePagePlacement).
    using Placement = Rect (*)(int pageWidth, int pageHeight, int pictureWidth, int pictureHeight);

    virtual ~DesktopPrinter() = default;
    // The desktop's print dialog on the program's printer, modal over
    // `parent`; its result is not looked at.
    virtual void showSetupDialog(QWidget* parent) = 0;
    // Prints the picture on one page in the orientation given, at the place
    // `place` gives within the printable area. Without any printer, or when
    // the printer cannot start a document, throws std::runtime_error
    // ("No printer is available: ...").
    virtual void printPage(const QImage& picture, bool landscape, Placement place) = 0;
};

// The module's entry point, a C function of this name returning its one
// printer.
using DesktopPrinterEntry = DesktopPrinter* (*)();
inline constexpr const char* kDesktopPrinterEntry = "VoxaDesktopPrinter";

// The printer the print command prints on, set up by the print dialog; one
// for the whole run, in the desktop's native format. Loads the module at the
// first call; throws std::runtime_error naming it when it cannot be loaded.
DesktopPrinter& ProgramPrinter();

// The module's printer from the first of `paths` that loads (a name without
// a slash is looked for where the dynamic loader looks for this program);
// throws std::runtime_error naming the module and what each path gave.
DesktopPrinter& LoadDesktopPrinter(const std::vector<std::string>& paths);
