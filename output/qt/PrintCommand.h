#pragma once
// Printing the window picture on one page or saving it as a BMP file.

#include "output/PrintGeometry.h"

#include <QRect>

class TMainForm;

// The print command of the main window. With PrintToBmp set it asks for a
// file name first (cancelling ends the command with nothing changed). It
// takes a picture of the window (the print button's title row, the data
// window with its axes and the status row), cleans it up for paper (colour
// or black and white) and saves it as a 24-bit BMP file under BmpDirectory
// (for an empty one in an installed program, the user's pictures or home
// folder: BmpDirectoryToOffer) or stretches it onto one page of the program's printer, then sounds
// the short "done" tone. The navigation buttons are as visible afterwards as before, even when the
// command fails. Throws std::runtime_error when no printer is available or the bitmap file cannot
// be written; the busy cursor is restored first.
void PrintClick();

// The captured rectangle in the client area's coordinates. The window is
// taken in the legacy frame model (4 pixels left, 42 above the client area):
// x = 0, y = DatWinFrame top - 22, width = outer width - 8, height =
// DatWinFrame height + Zeit height + 22.
QRect CaptureRectInClient(const TMainForm& form);

// The inside of the data window frame in the captured picture's coordinates
// (x1 and y1 inclusive).
DataRect PictureDataRect(const TMainForm& form);
